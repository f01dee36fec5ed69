#include "saving/roster_lock.h"

#include "system/faults.h"
#include "system/file_handle.h"

#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace qb {
namespace {

struct Held {
    std::unique_ptr<FileHandle> file;
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

// Opens the file at `path` and locks it; when the name was given to another file while
// this process waited (the game writes a new file), the lock follows the name.
std::pair<FileKey, std::unique_ptr<FileHandle>> lockFile(const std::string& path,
                                                         std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        auto file = std::make_unique<FileHandle>(path, OpenMode::Lock, "locking");
        while (!file->tryLock()) {
            if (std::chrono::steady_clock::now() >= deadline) {
                throw RosterBusy(
                    path + " is in use by a running save of another Quillbay process (waited " +
                        std::to_string(wait.count()) +
                        " ms); nothing was written, try again when it is done",
                    path);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        const FileKey locked = file->key();
        if (fileKeyAt(path) == locked) {
            return {locked, std::move(file)};
        }
    }
}

} // namespace

RosterLock::RosterLock(const std::string& path, std::chrono::milliseconds wait) {
    const std::lock_guard guard(heldMutex());
    if (const std::optional<FileKey> key = fileKeyAt(path)) {
        const auto held = heldLocks().find(*key);
        if (held != heldLocks().end()) {
            ++held->second.count;
            file_ = {key->device, key->inode};
            return;
        }
    }
    // Where a test lets another process write before this one holds the lock: a command
    // that read the file before this point would compute its edits from stale bytes.
    faults::crashPoint("before-lock");
    auto [key, file] = lockFile(path, wait);
    heldLocks().emplace(key, Held{std::move(file), 1});
    file_ = {key.device, key.inode};
}

RosterLock::~RosterLock() {
    const std::lock_guard guard(heldMutex());
    const auto held = heldLocks().find({file_.first, file_.second});
    if (held != heldLocks().end() && --held->second.count == 0) {
        heldLocks().erase(held); // closing the last handle releases the lock
    }
}

} // namespace qb
