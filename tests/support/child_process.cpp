#include "support/child_process.h"

#include <cstdlib>
#include <map>

namespace qb::test {
namespace {

std::map<std::string, std::function<int()>>& tasks() {
    static std::map<std::string, std::function<int()>> registered;
    return registered;
}

} // namespace

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
