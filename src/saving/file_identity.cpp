#include "saving/file_identity.h"

#include "system/errors.h"
#include "system/file_handle.h"
#include "system/fnv1a.h"
#include "system/native_path.h"
#include "system/process.h"

#include <cstdio>
#include <filesystem>

namespace qb {
FileIdentity identifyFile(const std::string& path) {
    const std::string canonical = canonicalFilePath(path);
    const std::optional<FileKey> key = fileKeyAt(canonical);
    std::error_code error;
    const std::uintmax_t size = key ? std::filesystem::file_size(nativePath(canonical), error) : 0;
    if (!key || error) {
        throw FileError("Cannot examine " + path + ": " +
                            (error ? error.message() : std::string("it cannot be opened")),
                        path);
    }
    return {canonical, key->device, key->inode, static_cast<std::int64_t>(size)};
}

std::string pathKey(const std::string& canonicalPath) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx",
                  static_cast<unsigned long long>(fnv1a(canonicalPath)));
    return text;
}

ProcessMark thisProcess() {
    const std::uint32_t pid = currentProcessId();
    return {pid, processStartMark(pid)};
}

bool isRunning(const ProcessMark& process) {
    if (process.start == 0) { // recorded where start times are unknown
        return processExists(process.pid);
    }
    return processStartMark(process.pid) == process.start;
}

} // namespace qb
