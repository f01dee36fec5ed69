#include "roster/file_handle.h"
#include "roster/native_path.h"
#include "support/child_process.h"

#include <cstdlib>
#include <optional>
#include <windows.h>

namespace qb::test {
namespace {

std::wstring wide(const std::string& utf8) {
    return nativePath(utf8).wstring();
}

HANDLE handleOf(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

// Sets variables for the child to inherit and puts the old values back afterwards.
class EnvironmentScope {
public:
    explicit EnvironmentScope(const Environment& environment) {
        for (const auto& [name, value] : environment) {
            const std::wstring key = wide(name);
            const wchar_t* old = ::_wgetenv(key.c_str());
            saved_.push_back(
                {key, old != nullptr ? std::optional<std::wstring>(old) : std::nullopt});
            ::_wputenv_s(key.c_str(), wide(value).c_str());
        }
    }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;
    ~EnvironmentScope() {
        for (const auto& [key, old] : saved_) {
            ::_wputenv_s(key.c_str(), old ? old->c_str() : L"");
        }
    }

private:
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

} // namespace

ChildProcess::ChildProcess(const std::string& task, const Environment& environment) {
    Environment all = environment;
    all.emplace_back("QB_TEST_CHILD", task);
    const EnvironmentScope scope(all);
    wchar_t self[MAX_PATH * 4];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        ended_ = true;
        return;
    }
    native_ = reinterpret_cast<std::intptr_t>(process.hProcess);
    thread_ = reinterpret_cast<std::intptr_t>(process.hThread);
}

ChildProcess::~ChildProcess() {
    if (!ended_) {
        ::TerminateProcess(handleOf(native_), 137);
        wait();
    }
    if (native_ != 0) {
        ::CloseHandle(handleOf(native_));
        ::CloseHandle(handleOf(thread_));
    }
}

int ChildProcess::wait() {
    if (native_ == 0) {
        return 127;
    }
    ::WaitForSingleObject(handleOf(native_), INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(handleOf(native_), &code);
    ended_ = true;
    return static_cast<int>(code);
}

// A thread that suspended itself has a suspend count above zero: suspending it once
// more tells, and the resume right after undoes that.
bool ChildProcess::waitUntilStopped() {
    while (native_ != 0 && ::WaitForSingleObject(handleOf(native_), 0) == WAIT_TIMEOUT) {
        const DWORD previous = ::SuspendThread(handleOf(thread_));
        ::ResumeThread(handleOf(thread_));
        if (previous != static_cast<DWORD>(-1) && previous > 0) {
            return true;
        }
        ::Sleep(5);
    }
    return false;
}

void ChildProcess::resume() {
    ::ResumeThread(handleOf(thread_));
}

void setEnvironment(const std::string& name, const std::string& value) {
    ::_wputenv_s(wide(name).c_str(), wide(value).c_str());
}

void unsetEnvironment(const std::string& name) {
    ::_wputenv_s(wide(name).c_str(), L"");
}

} // namespace qb::test
