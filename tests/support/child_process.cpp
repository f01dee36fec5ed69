#include "support/child_process.h"

#include "system/native_path.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

namespace qb::test {
namespace {

std::map<std::string, std::function<int()>>& tasks() {
    static std::map<std::string, std::function<int()>> registered;
    return registered;
}

} // namespace

int childTimeLimitSeconds() {
    const char* set = std::getenv("QB_TEST_CHILD_SECONDS");
    const int seconds = set != nullptr ? std::atoi(set) : 0;
    return seconds > 0 ? seconds : QB_TEST_CHILD_SECONDS;
}

std::string unusedStopFile() {
    static std::atomic<int> made{0};
    return utf8Path(
        std::filesystem::temp_directory_path() /
        ("quillbay-stop-" + std::to_string(std::random_device()()) + "-" + std::to_string(made++)));
}

bool ChildProcess::waitUntilStopped() {
    std::error_code error;
    while (!std::filesystem::exists(nativePath(stopFile_), error)) {
        if (hasEnded()) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void ChildProcess::resume() {
    std::error_code ignored;
    std::filesystem::remove(nativePath(stopFile_), ignored);
}

bool registerChildTask(const std::string& name, std::function<int()> task) {
    tasks()[name] = std::move(task);
    return true;
}

int runChildTaskIfAsked() {
    const char* name = std::getenv("QB_TEST_CHILD");
    if (name == nullptr) {
        return -1;
    }
    const auto task = tasks().find(name);
    return task == tasks().end() ? 125 : task->second();
}

} // namespace qb::test
