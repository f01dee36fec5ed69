#include "support/child_process.h"

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace qb::test {
namespace {

pid_t pidOf(std::intptr_t native) {
    return static_cast<pid_t>(native);
}

} // namespace

ChildProcess::ChildProcess(const std::string& task, const Environment& environment)
    : stopFile_(unusedStopFile()) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("QB_TEST_CHILD", task.c_str(), 1);
        ::setenv("QB_STOP_FILE", stopFile_.c_str(), 1);
        for (const auto& [name, value] : environment) {
            ::setenv(name.c_str(), value.c_str(), 1);
        }
        ::alarm(static_cast<unsigned>(childTimeLimitSeconds())); // kept across exec
        char self[] = "/proc/self/exe";
        char* argv[] = {self, nullptr};
        ::execv(self, argv);
        ::_exit(127);
    }
    native_ = pid;
}

ChildProcess::~ChildProcess() {
    if (!ended_) {
        ::kill(pidOf(native_), SIGKILL);
        wait();
    }
    resume(); // the stop file of a killed child
}

namespace {

int exitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

int ChildProcess::wait() {
    if (!ended_) {
        int status = 0;
        ::waitpid(pidOf(native_), &status, 0);
        ended_ = true;
        exitCode_ = exitCodeOf(status);
    }
    return exitCode_;
}

bool ChildProcess::hasEnded() {
    int status = 0;
    if (!ended_ && ::waitpid(pidOf(native_), &status, WNOHANG) == pidOf(native_)) {
        ended_ = true;
        exitCode_ = exitCodeOf(status);
    }
    return ended_;
}

void setEnvironment(const std::string& name, const std::string& value) {
    ::setenv(name.c_str(), value.c_str(), 1);
}

void unsetEnvironment(const std::string& name) {
    ::unsetenv(name.c_str());
}

} // namespace qb::test
