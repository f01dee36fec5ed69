#pragma once

#include "system/errors.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>

namespace qb {

// Another Quillbay process holds the roster's lock and did not let go in time.
class RosterBusy : public FileError {
public:
    using FileError::FileError;
};

// The advisory lock on a roster file that every save and every recovery of it
// holds, in the window and in quillbay-cli, so two Quillbay processes never interleave
// their reads, checks and writes of one file. Programs that ignore advisory locks (the
// game) are caught by the conflict check instead.
//
// Within one process the lock is counted: a command that holds it for its whole run
// can call saves that take it again. A second process waits up to `wait`, then gets
// RosterBusy naming the file; nothing has been written by then.
class RosterLock {
public:
    static constexpr std::chrono::milliseconds kDefaultWait{5000};

    explicit RosterLock(const std::string& path, std::chrono::milliseconds wait = kDefaultWait);
    RosterLock(const RosterLock&) = delete;
    RosterLock& operator=(const RosterLock&) = delete;
    ~RosterLock();

private:
    std::pair<std::uint64_t, std::uint64_t> file_; // device and inode
};

} // namespace qb
