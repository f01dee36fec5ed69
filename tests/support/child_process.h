#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace qb::test {

using Environment = std::vector<std::pair<std::string, std::string>>;

// This test program started again, with `environment` added and QB_TEST_CHILD naming
// `task`: its main runs that task (registered with registerChildTask) in place of the
// tests, so a test can kill a process part-way on every system, without fork.
class ChildProcess {
public:
    ChildProcess(const std::string& task, const Environment& environment);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess(); // kills the child if it still runs

    // Waits for the end: the exit code, or 128 + the signal for a process that was killed
    // (137 on Windows); a child that outlives childTimeLimitSeconds is killed.
    int wait();
    // Waits until the child waits at its stop point (QB_STOP_AT; the child is given a
    // QB_STOP_FILE of its own); false when it ended instead.
    bool waitUntilStopped();
    // Lets a stopped child go on.
    void resume();

private:
    bool hasEnded(); // without waiting
    std::string stopFile_;
    std::intptr_t native_ = 0; // a process ID or a Windows process handle
    bool ended_ = false;
    int exitCode_ = 0;
};

// How long a test lets one child process run before ending it, in seconds: the
// environment's QB_TEST_CHILD_SECONDS when set, else the build's (CMake's
// QB_TEST_CHILD_SECONDS, longer by default in a sanitizer build, whose children run
// many times slower). Every child a test starts ends within it, so a hung child fails
// its test instead of the whole run.
int childTimeLimitSeconds();

// A path in the temporary folder that names nothing yet, for a child's stop file.
std::string unusedStopFile();

// Registers `task` under `name`; returns true, for a namespace-scope constant.
bool registerChildTask(const std::string& name, std::function<int()> task);
// Runs the task named by QB_TEST_CHILD, returning its exit code; -1 when none is named.
int runChildTaskIfAsked();

void setEnvironment(const std::string& name, const std::string& value);
void unsetEnvironment(const std::string& name);

} // namespace qb::test
