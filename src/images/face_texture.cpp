#include "images/face_texture.h"

#include "images/dib.h"
#include "system/file_handle.h"
#include "system/little_endian.h"

#include <algorithm>
#include <array>
#include <memory>

namespace qb {
namespace {

constexpr std::int64_t kPiece = 4096;
constexpr std::int32_t kMostSide = 1024;
constexpr std::uint32_t kPixelDataOffset = 1078;
constexpr std::uint32_t kPixelsPerMetre = 10000;

// The archive and the bitmap, with every failure told as a copy's failure.
class File {
public:
    File(const std::string& path, OpenMode mode) : path_(path), file_(open(path, mode)) {}
    void readAt(std::uint8_t* out, std::size_t count, std::int64_t offset) const {
        if (offset < 0 || offset + static_cast<std::int64_t>(count) > size_) {
            throw FaceCopyError(path_ + ": the file ends before the face");
        }
        guarded([&] { file_->readAt(out, count, offset); });
    }
    void append(const std::uint8_t* data, std::size_t count) {
        guarded([&] { file_->writeAt(data, count, size_); });
        size_ += static_cast<std::int64_t>(count);
    }

private:
    template <typename Action> void guarded(Action action) const {
        try {
            action();
        } catch (const FileError& error) {
            throw FaceCopyError(error.description());
        }
    }
    std::unique_ptr<FileHandle> open(const std::string& path, OpenMode mode) {
        std::unique_ptr<FileHandle> file;
        guarded([&] {
            file = std::make_unique<FileHandle>(path, mode,
                                                mode == OpenMode::Read ? "reading" : "writing");
            size_ = mode == OpenMode::Read ? file->size() : 0;
        });
        return file;
    }

    std::string path_;
    std::int64_t size_ = 0;
    std::unique_ptr<FileHandle> file_;
};

// The 14-byte file header and the 40-byte information header of an 8-bit bottom-up bitmap.
std::vector<std::uint8_t> bmpHeaders(std::int32_t width, std::int32_t height) {
    const auto pixels = static_cast<std::uint32_t>(width * height);
    std::vector<std::uint8_t> out = {'B', 'M'};
    appendLittleEndian(out, pixels + kPixelDataOffset, 4);
    appendLittleEndian(out, 0, 4);
    appendLittleEndian(out, kPixelDataOffset, 4);
    appendLittleEndian(out, 40, 4);
    appendLittleEndian(out, static_cast<std::uint32_t>(width), 4);
    appendLittleEndian(out, static_cast<std::uint32_t>(height), 4);
    appendLittleEndian(out, 1, 2);
    appendLittleEndian(out, 8, 2);
    appendLittleEndian(out, 0, 4);
    appendLittleEndian(out, pixels, 4);
    appendLittleEndian(out, kPixelsPerMetre, 4);
    appendLittleEndian(out, kPixelsPerMetre, 4);
    appendLittleEndian(out, 0, 4);
    appendLittleEndian(out, 0, 4);
    return out;
}

// Removes the partly written file unless the copy completed.
class PartialFile {
public:
    explicit PartialFile(std::string path) : path_(std::move(path)) {}
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;
    ~PartialFile() {
        if (!kept_) {
            removeFile(path_);
        }
    }
    void keep() { kept_ = true; }

private:
    std::string path_;
    bool kept_ = false;
};

} // namespace

std::int64_t facePixelOffset(int face) {
    return FACE_BASE_OFFSET - std::int64_t{face} * FACE_ENTRY_SIZE;
}

void copyFaceToBmp(const std::string& archivePath, int face, const std::string& bmpPath) {
    if (face < 0 || face >= kFaceEntries) {
        throw FaceCopyError("there is no face " + std::to_string(face));
    }
    const std::int64_t p = facePixelOffset(face);
    const File archive(archivePath, OpenMode::Read);
    std::array<std::uint8_t, 8> size{};
    archive.readAt(size.data(), size.size(), p - 16);
    const std::int32_t width = static_cast<std::int32_t>(littleEndian(size.data(), 4));
    const std::int32_t height = static_cast<std::int32_t>(littleEndian(size.data() + 4, 4));
    if (width < 0 || width > kMostSide || height < 0 || height > kMostSide) {
        throw FaceSizeError();
    }
    // A face always has 65536 pixel bytes; a width and height that describe another
    // amount, or rows that a bitmap would pad, would give a file whose header
    // disagrees with its contents.
    if (std::int64_t{width} * height != kFacePixelBytes || width % 4 != 0) {
        throw FaceSizeError();
    }

    // The bitmap is written beside its target and renamed over it when complete: a
    // failure anywhere leaves an existing file of that name as it was.
    const std::string partialPath = bmpPath + ".partial";
    PartialFile partial(partialPath);
    {
        File out(partialPath, OpenMode::CreateOrEmpty);
        const std::vector<std::uint8_t> headers = bmpHeaders(width, height);
        out.append(headers.data(), headers.size());

        // Archive colours are red, green, blue, alpha; the bitmap's blue, green, red, reserved.
        std::array<std::uint8_t, 1024> table{};
        archive.readAt(table.data(), table.size(), p + std::int64_t{width} * height);
        for (std::size_t i = 0; i < table.size(); i += 4) {
            std::swap(table[i], table[i + 2]);
        }
        out.append(table.data(), table.size());

        // The pixel block reversed: rows in reverse order, each mirrored.
        std::array<std::uint8_t, kPiece> piece{};
        for (std::int64_t c = kFacePixelBytes / kPiece - 1; c >= 0; --c) {
            archive.readAt(piece.data(), piece.size(), p + kPiece * c);
            std::reverse(piece.begin(), piece.end());
            out.append(piece.data(), piece.size());
        }
    }
    try {
        replaceFile(partialPath, bmpPath);
    } catch (const FileError& error) {
        throw FaceCopyError(error.description());
    }
    partial.keep();
}

} // namespace qb
