#include "images/face_texture.h"

#include "images/dib.h"
#include "roster/file_handle.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace qb {
namespace {

constexpr std::int64_t kPiece = 4096;
constexpr std::int32_t kMostSide = 1024;
constexpr std::uint32_t kPixelDataOffset = 1078;
constexpr std::uint32_t kPixelsPerMetre = 10000;

class Fd {
public:
    Fd(const std::string& path, int flags, mode_t mode = 0) {
        std::string failure;
        fd_ = flags == O_RDONLY ? openRegularForReading(path, failure)
                                : ::open(path.c_str(), flags | O_CLOEXEC, mode);
        if (fd_ < 0) {
            throw FaceCopyError(path + ": " + (failure.empty() ? std::strerror(errno) : failure));
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { ::close(fd_); }
    int get() const { return fd_; }

private:
    int fd_;
};

void readExactly(const Fd& file, const std::string& path, std::uint8_t* out, std::size_t count,
                 std::int64_t offset) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(file.get(), out + done, count - done,
                                    static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            throw FaceCopyError(path + ": " +
                                (got < 0 ? std::strerror(errno) : "the file ends before the face"));
        }
        done += static_cast<std::size_t>(got);
    }
}

void writeAll(const Fd& file, const std::string& path, const std::uint8_t* data,
              std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(file.get(), data + done, count - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            throw FaceCopyError(path + ": " + std::strerror(put < 0 ? errno : EIO));
        }
        done += static_cast<std::size_t>(put);
    }
}

std::int32_t littleEndian32(const std::uint8_t* bytes) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) |
                                     (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                     (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                     (static_cast<std::uint32_t>(bytes[3]) << 24));
}

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
            ::unlink(path_.c_str());
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
    const Fd archive(archivePath, O_RDONLY);
    std::array<std::uint8_t, 8> size{};
    readExactly(archive, archivePath, size.data(), size.size(), p - 16);
    const std::int32_t width = littleEndian32(size.data());
    const std::int32_t height = littleEndian32(size.data() + 4);
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
        const Fd out(partialPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::vector<std::uint8_t> headers = bmpHeaders(width, height);
        writeAll(out, partialPath, headers.data(), headers.size());

        // Archive colours are red, green, blue, alpha; the bitmap's blue, green, red, reserved.
        std::array<std::uint8_t, 1024> table{};
        readExactly(archive, archivePath, table.data(), table.size(),
                    p + std::int64_t{width} * height);
        for (std::size_t i = 0; i < table.size(); i += 4) {
            std::swap(table[i], table[i + 2]);
        }
        writeAll(out, partialPath, table.data(), table.size());

        // The pixel block reversed: rows in reverse order, each mirrored.
        std::array<std::uint8_t, kPiece> piece{};
        for (std::int64_t c = kFacePixelBytes / kPiece - 1; c >= 0; --c) {
            readExactly(archive, archivePath, piece.data(), piece.size(), p + kPiece * c);
            std::reverse(piece.begin(), piece.end());
            writeAll(out, partialPath, piece.data(), piece.size());
        }
    }
    if (std::rename(partialPath.c_str(), bmpPath.c_str()) != 0) {
        throw FaceCopyError(bmpPath + ": " + std::strerror(errno));
    }
    partial.keep();
}

} // namespace qb
