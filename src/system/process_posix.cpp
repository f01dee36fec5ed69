#include "system/fnv1a.h"
#include "system/process.h"

#include <cerrno>
#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace qb {
namespace {

std::string firstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

} // namespace

std::uint32_t currentProcessId() {
    return static_cast<std::uint32_t>(::getpid());
}

// The start time of a process (field 22 of /proc/PID/stat, after the parenthesised
// name, which may hold spaces), joined with the boot's ID.
std::uint64_t processStartMark(std::uint32_t pid) {
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

bool processExists(std::uint32_t pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

void killThisProcess() {
    std::raise(SIGKILL);
    std::_Exit(137);
}

void useBinaryStandardStreams() {}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return {argv, argv + argc};
}

} // namespace qb
