// libFuzzer target: the bytes of face 0's entry (header, pixels, colour table) in a
// sparse archive of the game's size. The copy must succeed with a bitmap whose header
// matches its size, or fail with one of its two messages.
#include "images/face_texture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string& archivePath() {
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() /
                               ("qb-face-fuzz-" + std::to_string(::getpid()) + ".gob"))
                                  .string();
        const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::ftruncate(fd, qb::kArchiveMinimumSize) != 0) {
            std::abort();
        }
        ::close(fd);
        return p;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::int64_t kEntryStart = qb::FACE_BASE_OFFSET - 112;
    constexpr std::size_t kEntryBytes = 112 + 65536 + 1024;
    const int fd = ::open(archivePath().c_str(), O_WRONLY);
    std::vector<std::uint8_t> entry(kEntryBytes, 0);
    std::copy(data, data + std::min(size, kEntryBytes), entry.begin());
    if (fd < 0 || ::pwrite(fd, entry.data(), entry.size(), kEntryStart) !=
                      static_cast<ssize_t>(entry.size())) {
        std::abort();
    }
    ::close(fd);
    const std::string bmp = archivePath() + ".bmp";
    try {
        qb::copyFaceToBmp(archivePath(), 0, bmp);
    } catch (const qb::FaceSizeError&) {
        return 0;
    } catch (const qb::FaceCopyError&) {
        return 0;
    }
    struct stat info {};
    if (::stat(bmp.c_str(), &info) != 0 || info.st_size != qb::kFaceBmpSize) {
        std::abort();
    }
    return 0;
}
