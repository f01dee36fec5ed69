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

ChildProcess::ChildProcess(const std::string& task, const Environment& environment) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("QB_TEST_CHILD", task.c_str(), 1);
        for (const auto& [name, value] : environment) {
            ::setenv(name.c_str(), value.c_str(), 1);
        }
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
}

int ChildProcess::wait() {
    int status = 0;
    ::waitpid(pidOf(native_), &status, 0);
    ended_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool ChildProcess::waitUntilStopped() {
    int status = 0;
    ::waitpid(pidOf(native_), &status, WUNTRACED);
    return WIFSTOPPED(status);
}

void ChildProcess::resume() {
    ::kill(pidOf(native_), SIGCONT);
}

void setEnvironment(const std::string& name, const std::string& value) {
    ::setenv(name.c_str(), value.c_str(), 1);
}

void unsetEnvironment(const std::string& name) {
    ::unsetenv(name.c_str());
}

} // namespace qb::test
