#include "roster/file_identity.h"

#include "roster/errors.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {
namespace {

std::uint64_t fnv1a(std::string_view text, std::uint64_t hash = 14695981039346656037ULL) {
    for (const char ch : text) {
        hash = (hash ^ static_cast<std::uint8_t>(ch)) * 1099511628211ULL;
    }
    return hash;
}

std::string firstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// The start time of a process (field 22 of /proc/PID/stat, after the parenthesised
// name, which may hold spaces), joined with the boot's ID; 0 when unknown.
std::uint64_t startMark(std::uint32_t pid) {
    const std::string stat = firstLine("/proc/" + std::to_string(pid) + "/stat");
    const auto nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) {
        return 0;
    }
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    return fnv1a(field, fnv1a(firstLine("/proc/sys/kernel/random/boot_id")));
}

} // namespace

FileIdentity identifyFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::canonical(path, error);
    struct stat info {};
    if (error || ::stat(canonical.c_str(), &info) != 0) {
        throw FileError("Cannot examine " + path + ": " +
                            (error ? error.message() : std::string(std::strerror(errno))),
                        path);
    }
    return {canonical.string(), static_cast<std::uint64_t>(info.st_dev),
            static_cast<std::uint64_t>(info.st_ino), static_cast<std::int64_t>(info.st_size)};
}

std::string pathKey(const std::string& canonicalPath) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx",
                  static_cast<unsigned long long>(fnv1a(canonicalPath)));
    return text;
}

ProcessMark thisProcess() {
    const auto pid = static_cast<std::uint32_t>(::getpid());
    return {pid, startMark(pid)};
}

bool isRunning(const ProcessMark& process) {
    if (process.start == 0) { // recorded where start times are unknown
        return ::kill(static_cast<pid_t>(process.pid), 0) == 0 || errno == EPERM;
    }
    return startMark(process.pid) == process.start;
}

} // namespace qb
