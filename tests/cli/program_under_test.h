#pragma once

#include "support/child_process.h"
#include "support/roster_maker.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
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

struct Finished {
    int exitCode; // 128 + the signal for a killed run; 142 (SIGALRM) past the time limit
    std::string out;
    std::string err;
};

struct Started {
    pid_t pid;
    std::string outPath;
};

// Starts quillbay-cli with no terminal on its input and its own data folder under `dir`,
// its output to files named by `tag`; told to, it waits at the stop point `stopAt`. A run
// that outlives the children's time limit is ended.
inline Started start(const TempDir& dir, const std::vector<std::string>& args,
                     const std::string& tag, const char* stopAt = nullptr) {
    const std::string outPath = dir.file(tag);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
        if (stopAt != nullptr) {
            ::setenv("QB_STOP_AT", stopAt, 1);
            ::setenv("QB_STOP_FILE", (outPath + ".stop").c_str(), 1);
        }
        if (std::freopen("/dev/null", "r", stdin) == nullptr ||
            std::freopen((outPath + ".out").c_str(), "w", stdout) == nullptr ||
            std::freopen((outPath + ".err").c_str(), "w", stderr) == nullptr) {
            ::_exit(126);
        }
        ::alarm(static_cast<unsigned>(childTimeLimitSeconds())); // kept across exec
        std::vector<std::string> words = programUnderTest();
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data()); // the runner (wine64) is found on the PATH
        ::_exit(127);
    }
    return {pid, outPath};
}

inline Finished finish(const Started& process) {
    int status = 0;
    ::waitpid(process.pid, &status, 0);
    const auto text = [&process](const char* ending) {
        const std::vector<std::uint8_t> bytes = readFileBytes(process.outPath + ending);
        return std::string(bytes.begin(), bytes.end());
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), text(".out"),
            text(".err")};
}

inline Finished run(const TempDir& dir, const std::vector<std::string>& args,
                    const std::string& tag) {
    return finish(start(dir, args, tag));
}

} // namespace qb::test
