#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace qb::test {

// The quillbay-cli the tests drive, as the words of a command: the one built beside
// them, or the build that QB_CLI names, started through QB_CLI_RUNNER when that is set
// (wine64 for the Windows build), so one set of tests checks both.
inline std::vector<std::string> programUnderTest() {
    std::vector<std::string> words;
    if (const char* runner = std::getenv("QB_CLI_RUNNER"); runner != nullptr && *runner != '\0') {
        words.emplace_back(runner);
    }
    const char* program = std::getenv("QB_CLI");
    words.emplace_back(program != nullptr && *program != '\0' ? program : QB_CLI_PATH);
    return words;
}

inline bool programIsWindowsBuild() {
    return programUnderTest().back().ends_with(".exe");
}

// A path the program printed, as this host opens it: the Windows build under Wine
// joins its folders with backslashes (and names the host's root Z:).
inline std::string hostPath(std::string printed) {
    if (!programIsWindowsBuild()) {
        return printed;
    }
    if (printed.starts_with("Z:") || printed.starts_with("z:")) {
        printed.erase(0, 2);
    }
    std::replace(printed.begin(), printed.end(), '\\', '/');
    return printed;
}

} // namespace qb::test
