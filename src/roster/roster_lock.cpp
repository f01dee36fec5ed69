#include "roster/roster_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace qb {
namespace {

using FileKey = std::pair<std::uint64_t, std::uint64_t>;

struct Held {
    int fd;
    int count;
};

std::mutex& heldMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<FileKey, Held>& heldLocks() {
    static std::map<FileKey, Held> held;
    return held;
}

FileKey keyOf(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

FileError lockError(const std::string& path, int code) {
    return FileError("Cannot lock " + path + ": " + std::strerror(code), path);
}

// Opens the file at `path` and locks it; when the name was given to another file while
// this process waited (the game writes a new file), the lock follows the name.
std::pair<FileKey, int> lockFile(const std::string& path, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            throw lockError(path, errno);
        }
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int code = errno;
            if (code != EWOULDBLOCK && code != EINTR) {
                ::close(fd);
                throw lockError(path, code);
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                ::close(fd);
                throw RosterBusy(path + " is in use by another Quillbay process (waited " +
                                     std::to_string(wait.count()) +
                                     " ms); nothing was written, try again when it is done",
                                 path);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        struct stat locked {};
        struct stat named {};
        if (::fstat(fd, &locked) == 0 && ::stat(path.c_str(), &named) == 0 &&
            keyOf(locked) == keyOf(named)) {
            return {keyOf(locked), fd};
        }
        ::close(fd);
    }
}

} // namespace

RosterLock::RosterLock(const std::string& path, std::chrono::milliseconds wait) {
    const std::lock_guard guard(heldMutex());
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        const auto held = heldLocks().find(keyOf(info));
        if (held != heldLocks().end()) {
            ++held->second.count;
            file_ = held->first;
            return;
        }
    }
    const auto [key, fd] = lockFile(path, wait);
    heldLocks().emplace(key, Held{fd, 1});
    file_ = key;
}

RosterLock::~RosterLock() {
    const std::lock_guard guard(heldMutex());
    const auto held = heldLocks().find(file_);
    if (held != heldLocks().end() && --held->second.count == 0) {
        ::close(held->second.fd); // closing the last descriptor releases the lock
        heldLocks().erase(held);
    }
}

} // namespace qb
