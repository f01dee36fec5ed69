#include "link/local_link.h"
#include "link/local_link_name.h"
#include "system/native_path.h"

#include <memory>
#include <vector>
#include <windows.h>

namespace qb {
namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

// The user a process runs as, as a security token's user information; empty when the
// process cannot be asked.
std::vector<unsigned char> processUser(HANDLE process) {
    HANDLE rawToken = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &rawToken)) {
        return {};
    }
    const OwnedHandle token(rawToken);
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    if (size == 0 || !::GetTokenInformation(token.get(), TokenUser, user.data(), size, &size)) {
        return {};
    }
    return user;
}

bool sameUser(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    return !a.empty() && !b.empty() &&
           ::EqualSid(reinterpret_cast<const TOKEN_USER*>(a.data())->User.Sid,
                      reinterpret_cast<const TOKEN_USER*>(b.data())->User.Sid);
}

// The account name from the system (GetUserNameW), not from %USERNAME%.
std::string realUserName() {
    wchar_t name[257] = {};
    DWORD size = 257;
    if (!::GetUserNameW(name, &size)) {
        return std::to_string(::GetCurrentProcessId());
    }
    return utf8Path(std::filesystem::path(name));
}

} // namespace

// A named pipe has no folder that could be closed to others; the pipe's own access list
// (Qt's UserAccessOption) keeps other users from connecting to ours, and a sender checks
// the user of the pipe it reached before it writes.
std::string localLinkName(std::string_view topic) {
    return linkBaseName(topic, realUserName());
}

std::string localLinkProblem(const std::string& name) {
    return name.empty() ? "no name for the link's pipe" : std::string();
}

// The other end of a pipe is its server for a client, its client for a server; the one
// that is not this process is the peer.
bool localLinkPeerIsSameUser(std::intptr_t handle) {
    const auto pipe = reinterpret_cast<HANDLE>(handle);
    ULONG server = 0;
    ULONG client = 0;
    if (!::GetNamedPipeServerProcessId(pipe, &server) ||
        !::GetNamedPipeClientProcessId(pipe, &client)) {
        return false;
    }
    const ULONG peer = server == ::GetCurrentProcessId() ? client : server;
    const OwnedHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, peer));
    return process != nullptr &&
           sameUser(processUser(process.get()), processUser(::GetCurrentProcess()));
}

} // namespace qb
