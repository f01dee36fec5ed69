#include "player/zip_archive.h"

#include "player/workbook_writer.h"

#include <algorithm>
#include <cstring>
#include <minizip/unzip.h>

namespace qb {

// minizip reads through the functions below, from the bytes in memory instead of a file.
struct ZipArchive::Stream {
    std::string_view bytes;
    ZPOS64_T at = 0;
};

namespace {

// A workbook of all 1600 players is some 2 MB inflated; a part far larger is no roster's.
constexpr ZPOS64_T kLargestPart = ZPOS64_T{256} << 20;

using Stream = ZipArchive::Stream;

voidpf ZCALLBACK openMemory(voidpf opaque, const void*, int) {
    return opaque;
}

uLong ZCALLBACK readMemory(voidpf, voidpf stream, void* buffer, uLong size) {
    auto& memory = *static_cast<Stream*>(stream);
    const auto left = memory.bytes.size() - std::min<std::size_t>(memory.at, memory.bytes.size());
    const auto count = std::min<std::size_t>(size, left);
    std::memcpy(buffer, memory.bytes.data() + memory.at, count);
    memory.at += count;
    return static_cast<uLong>(count);
}

uLong ZCALLBACK writeNothing(voidpf, voidpf, const void*, uLong) {
    return 0;
}

ZPOS64_T ZCALLBACK tellMemory(voidpf, voidpf stream) {
    return static_cast<Stream*>(stream)->at;
}

long ZCALLBACK seekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto& memory = *static_cast<Stream*>(stream);
    const ZPOS64_T base = origin == ZLIB_FILEFUNC_SEEK_SET   ? 0
                          : origin == ZLIB_FILEFUNC_SEEK_CUR ? memory.at
                                                             : memory.bytes.size();
    if (base + offset > memory.bytes.size()) {
        return -1;
    }
    memory.at = base + offset;
    return 0;
}

int ZCALLBACK closeMemory(voidpf, voidpf) {
    return 0;
}

int ZCALLBACK noError(voidpf, voidpf) {
    return 0;
}

} // namespace

ZipArchive::ZipArchive(std::string_view bytes, std::string path) : path_(std::move(path)) {
    stream_ = std::make_unique<Stream>(Stream{bytes, 0});
    zlib_filefunc64_def functions{openMemory, readMemory,  writeNothing, tellMemory,
                                  seekMemory, closeMemory, noError,      stream_.get()};
    zip_ = unzOpen2_64("workbook", &functions);
    if (zip_ == nullptr) {
        throw WorkbookError(path_ + " is not an XLSX workbook (not a zip archive)", path_);
    }
}

ZipArchive::~ZipArchive() {
    unzClose(zip_);
}

std::optional<std::string> ZipArchive::part(const std::string& name) const {
    if (unzLocateFile(zip_, name.c_str(), 1) != UNZ_OK) {
        return std::nullopt;
    }
    const auto broken = [&](const std::string& why) {
        return WorkbookError(path_ + ": the part " + name + " of the workbook " + why, path_);
    };
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        throw broken("cannot be read");
    }
    if (info.uncompressed_size > kLargestPart) {
        throw broken("is " + std::to_string(info.uncompressed_size) +
                     " bytes inflated, far more than a roster's workbook holds");
    }
    if (unzOpenCurrentFile(zip_) != UNZ_OK) {
        throw broken("cannot be opened");
    }
    std::string text;
    char buffer[65536];
    int read = 0;
    while ((read = unzReadCurrentFile(zip_, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(read));
        if (text.size() > kLargestPart) {
            break;
        }
    }
    const int closed = unzCloseCurrentFile(zip_); // checks the CRC once all was read
    if (read < 0 || closed != UNZ_OK || text.size() != info.uncompressed_size) {
        throw broken("is damaged (it does not inflate to what the archive says)");
    }
    return text;
}

} // namespace qb
