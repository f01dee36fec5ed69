#pragma once

#include <cstdint>
#include <string>

namespace qb {

// Which file a journal or a backup belongs to. Two spellings of one path ("./r.pak",
// "r.pak", a link) share the canonical path; a file the game wrote anew under the same
// name has another inode; a file cut short or grown has another size.
struct FileIdentity {
    std::string canonicalPath;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;

    bool sameFileAs(const FileIdentity& other) const {
        return canonicalPath == other.canonicalPath && device == other.device &&
               inode == other.inode && size == other.size;
    }
};

// The identity of the file at `path` now; FileError when it cannot be examined.
FileIdentity identifyFile(const std::string& path);

// 16 hex digits naming a canonical path in file names (journals, backup folders).
std::string pathKey(const std::string& canonicalPath);

// This process, as a journal records its owner: the process ID and a mark of the
// process's start (boot and start time), so a later process with a reused ID is not
// taken for the owner.
struct ProcessMark {
    std::uint32_t pid = 0;
    std::uint64_t start = 0;
};
ProcessMark thisProcess();
bool isRunning(const ProcessMark& process);

} // namespace qb
