#include "link/local_link.h"
#include "link/local_link_name.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {
namespace {

// A folder that only the real user can enter: owned by them, not a link, no access for
// group or others.
bool isPrivateFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

// $XDG_RUNTIME_DIR when it is the user's own and closed to others, else
// <temp>/quillbay-<uid>, made with mode 0700. Empty when neither will do.
std::string privateFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && runtime[0] == '/' && isPrivateFolder(runtime)) {
        return runtime;
    }
    std::error_code error;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    const std::string own =
        (error ? std::filesystem::path("/tmp") : temp) / ("quillbay-" + std::to_string(::getuid()));
    ::mkdir(own.c_str(), 0700);
    return isPrivateFolder(own) ? own : std::string();
}

std::string realUserName() {
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr ? std::string(user->pw_name) : std::to_string(::getuid());
}

} // namespace

std::string localLinkName(std::string_view topic) {
    const std::string folder = privateFolder();
    return folder.empty() ? std::string() : folder + '/' + linkBaseName(topic, realUserName());
}

std::string localLinkProblem(const std::string& name) {
    if (name.empty()) {
        return "no private folder for the link's socket";
    }
    struct stat info {};
    if (::lstat(name.c_str(), &info) != 0) {
        return {};
    }
    if (info.st_uid != ::getuid() || !S_ISSOCK(info.st_mode)) {
        return name + " belongs to another user or is no socket; it is not used";
    }
    return {};
}

bool localLinkPeerIsSameUser(std::intptr_t handle) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(handle), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::getuid();
}

} // namespace qb
