#include "link/local_link.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace qb {
namespace {

void setVariable(const char* name, const char* value) {
#ifdef _WIN32
    ::_putenv_s(name, value);
#else
    value[0] != '\0' ? ::setenv(name, value, 1) : ::unsetenv(name);
#endif
}

// The name is the same whatever user the environment claims, carries the topic as the
// companion protocol spells it, and takes the namespace last.
TEST(LocalLink, NameFollowsTheProtocolAndNotTheEnvironment) {
    setVariable("QUILLBAY_LINK_NAMESPACE", "");
    const std::string name = localLinkName("Cricket 2004 Tonewell|Tonelink");
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(localLinkProblem(name), "");
    EXPECT_NE(name.find("quillbay-Cricket_2004_Tonewell.Tonelink-"), std::string::npos) << name;

    setVariable("USER", "mallory");
    setVariable("USERNAME", "mallory");
    setVariable("QUILLBAY_LINK_NAMESPACE", "side");
    const std::string spaced = localLinkName("Cricket 2004 Tonewell|Tonelink");
    setVariable("QUILLBAY_LINK_NAMESPACE", "");
    EXPECT_EQ(spaced, name + "-side");
    EXPECT_EQ(spaced.find("mallory"), std::string::npos) << spaced;
    EXPECT_NE(localLinkProblem(""), "");
}

// Both ends of a connection this process made run as its user; a handle that is no
// connection is never taken for one.
TEST(LocalLink, PeerOfOwnConnectionIsTheSameUser) {
#ifdef _WIN32
    const std::wstring pipe =
        L"\\\\.\\pipe\\quillbay-link-test-" + std::to_wstring(::GetCurrentProcessId());
    HANDLE server =
        ::CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 64, 64, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    HANDLE client = ::CreateFileW(pipe.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(localLinkPeerIsSameUser(reinterpret_cast<std::intptr_t>(client)));
    EXPECT_TRUE(localLinkPeerIsSameUser(reinterpret_cast<std::intptr_t>(server)));
    ::CloseHandle(client);
    ::CloseHandle(server);
    EXPECT_FALSE(localLinkPeerIsSameUser(reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE)));
#else
    int ends[2] = {-1, -1};
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    EXPECT_TRUE(localLinkPeerIsSameUser(ends[0]));
    EXPECT_TRUE(localLinkPeerIsSameUser(ends[1]));
    ::close(ends[0]);
    ::close(ends[1]);
    EXPECT_FALSE(localLinkPeerIsSameUser(-1));
#endif
}

} // namespace
} // namespace qb
