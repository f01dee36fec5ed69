#include "support/child_process.h"
#include "system/file_handle.h"
#include "system/native_path.h"

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

ChildProcess::ChildProcess(const std::string& task, const Environment& environment)
    : stopFile_(unusedStopFile()) {
    Environment all = environment;
    all.emplace_back("QB_TEST_CHILD", task);
    all.emplace_back("QB_STOP_FILE", stopFile_);
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
    ::CloseHandle(process.hThread);
}

ChildProcess::~ChildProcess() {
    if (!ended_) {
        ::TerminateProcess(handleOf(native_), 137);
        wait();
    }
    if (native_ != 0) {
        ::CloseHandle(handleOf(native_));
    }
    resume(); // the stop file of a killed child
}

int ChildProcess::wait() {
    if (native_ == 0) {
        return 127;
    }
    if (!ended_) {
        const DWORD limit = static_cast<DWORD>(childTimeLimitSeconds()) * 1000;
        if (::WaitForSingleObject(handleOf(native_), limit) == WAIT_TIMEOUT) {
            ::TerminateProcess(handleOf(native_), 137);
            ::WaitForSingleObject(handleOf(native_), INFINITE);
        }
        DWORD code = 0;
        ::GetExitCodeProcess(handleOf(native_), &code);
        ended_ = true;
        exitCode_ = static_cast<int>(code);
    }
    return exitCode_;
}

bool ChildProcess::hasEnded() {
    if (!ended_ && ::WaitForSingleObject(handleOf(native_), 0) != WAIT_TIMEOUT) {
        wait();
    }
    return ended_;
}

void setEnvironment(const std::string& name, const std::string& value) {
    ::_wputenv_s(wide(name).c_str(), wide(value).c_str());
}

void unsetEnvironment(const std::string& name) {
    ::_wputenv_s(wide(name).c_str(), L"");
}

} // namespace qb::test
