#include "system/faults.h"

#include "system/native_path.h"
#include "system/process.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

namespace qb::faults {
namespace {

struct Plan {
    std::atomic<int> remaining{0}; // operations left before the failing one; 0 = no plan
    std::atomic<int> error{0};
};

std::array<Plan, 4> plans;
std::atomic<bool> anyPlan{false};

} // namespace

void failNth(Op op, int n, int error) {
    Plan& plan = plans[static_cast<std::size_t>(op)];
    plan.error = error;
    plan.remaining = n;
    anyPlan = true;
}

void reset() {
    for (Plan& plan : plans) {
        plan.remaining = 0;
    }
    anyPlan = false;
}

bool shouldFail(Op op, int& error) {
    if (!anyPlan) {
        return false;
    }
    Plan& plan = plans[static_cast<std::size_t>(op)];
    if (plan.remaining <= 0) {
        return false;
    }
    if (--plan.remaining == 0) {
        error = plan.error;
        return true;
    }
    return false;
}

void crashPoint(const char* name) {
    const char* wanted = std::getenv("QB_CRASH_AT");
    if (wanted != nullptr && std::strcmp(wanted, name) == 0) {
        killThisProcess();
    }
    static std::atomic<bool> stopped{false};
    const char* stopAt = std::getenv("QB_STOP_AT");
    const char* stopFile = std::getenv("QB_STOP_FILE");
    if (stopAt != nullptr && stopFile != nullptr && std::strcmp(stopAt, name) == 0 &&
        !stopped.exchange(true)) {
        const std::filesystem::path gate = nativePath(stopFile);
        std::ofstream(gate) << currentProcessId() << '\n';
        std::error_code error;
        while (std::filesystem::exists(gate, error)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
}

} // namespace qb::faults
