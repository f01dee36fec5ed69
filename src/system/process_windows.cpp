#include "system/file_handle.h"
#include "system/native_path.h"
#include "system/process.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

// clang-format off
#include <windows.h>
#include <shellapi.h> // after windows.h, which it needs
// clang-format on

namespace qb {
namespace {

// A process handle that may only be asked about the process.
class ProcessQuery {
public:
    explicit ProcessQuery(std::uint32_t pid)
        : handle_(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {}
    ProcessQuery(const ProcessQuery&) = delete;
    ProcessQuery& operator=(const ProcessQuery&) = delete;
    ~ProcessQuery() {
        if (handle_ != nullptr) {
            ::CloseHandle(handle_);
        }
    }
    HANDLE get() const { return handle_; }
    // A handle keeps an ended process's ID taken; such a process runs no more.
    bool running() const {
        DWORD code = 0;
        return handle_ != nullptr && ::GetExitCodeProcess(handle_, &code) && code == STILL_ACTIVE;
    }

private:
    HANDLE handle_;
};

} // namespace

std::uint32_t currentProcessId() {
    return ::GetCurrentProcessId();
}

// The process's creation time, in 100 ns steps since 1601: no two processes of one ID
// share it.
std::uint64_t processStartMark(std::uint32_t pid) {
    const ProcessQuery process(pid);
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    if (!process.running() ||
        !::GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) {
        return 0;
    }
    return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

bool processExists(std::uint32_t pid) {
    const ProcessQuery process(pid);
    return process.running() ||
           (process.get() == nullptr && ::GetLastError() == ERROR_ACCESS_DENIED);
}

void killThisProcess() {
    ::TerminateProcess(::GetCurrentProcess(), 137);
    ::ExitProcess(137);
}

void useBinaryStandardStreams() {
    for (FILE* stream : {stdin, stdout, stderr}) {
        ::_setmode(::_fileno(stream), _O_BINARY);
    }
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return {argv, argv + argc};
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(utf8Path(std::filesystem::path(wide[i])));
    }
    ::LocalFree(wide);
    return arguments;
}

} // namespace qb
