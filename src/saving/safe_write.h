#pragma once

#include "roster/roster_file.h"
#include "saving/recovery.h"
#include "saving/roster_lock.h"
#include "system/data_folder.h"
#include "system/errors.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace qb {

// The slot on disk is no longer what was loaded: another program changed it.
class SlotConflict : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

struct SafetyOptions {
    // Copy the file before this process first writes it, and again before a write after
    // another program changed it.
    bool backups = true;
    bool force = false; // write even when the slot on disk changed since it was loaded
    // Journals and backups; empty: userDataFolder(), resolved when a save needs it.
    std::string dataFolder;
    // Flush the journal and the slot to the disk before going on. Only measurements
    // of the work around the flushes turn this off.
    bool durable = true;
    // A backup the command reads (the source of a restore), which making a new backup
    // never deletes.
    std::string keepBackup;
    // Whether to complete or undo a batch cut off part-way that the file holds by its
    // content only (recoverInterruptedSaves); without it such a file is not written.
    std::optional<CutOffChoice> cutOffBatch;
    // How long a save waits for another Quillbay process to let go of the file.
    std::chrono::milliseconds lockWait = RosterLock::kDefaultWait;

    std::string dataFolderOrDefault() const {
        return dataFolder.empty() ? userDataFolder() : dataFolder;
    }
};

// Writing a slot of a save, or reading it back, failed; says which slot.
class SlotWriteFailed : public FileError {
public:
    SlotWriteFailed(const std::string& description, const std::string& path, int slot)
        : FileError(description, path), slot_(slot) {}
    int slot() const noexcept { return slot_; }

private:
    int slot_;
};

// One slot of a save: the record it is to hold and the record it held when it was read,
// which the conflict check compares the slot on disk with.
struct SlotWrite {
    int slot = 0;
    Record record{};
    Record expected{};
};

struct SaveReport {
    // For each slot write, in the order given, the record offsets written (none when its
    // record is what was read).
    std::vector<std::vector<int>> written;
    std::vector<std::string> notices; // things the user should know (a backup that failed)
};

// Writes the bytes where each record differs from what was read into its slot, as one
// batch under one journal: whatever happens, every slot of the batch ends up either as
// it was or with every changed byte, all of them the one way or the other. All of it
// runs under the roster's lock (roster/roster_lock.h):
//  1. every slot with a change is read again; one that differs from `expected` is a
//     SlotConflict (unless forced), before anything is written;
//  2. the first write to a file in this process copies it to its backup folder first,
//     and so does a write after another program changed the file;
//  3. one journal (the file's identity, this process, and for each slot its offset and
//     the old and new bytes of its changed offsets, under a checksum) is written and
//     flushed;
//  4. the changed runs of every slot are written in place, then the file is flushed
//     once; a failure puts back the bytes already written, in every slot, and reports
//     whether that worked (SlotWriteFailed names the slot whose write failed);
//  5. every slot is read back and compared; the journal is deleted.
// Slots must be 0-1599, each at most once. A cut-off batch is completed or undone as a
// whole by recoverInterruptedSaves (roster/recovery.h).
SaveReport writeSlots(const RosterFile& roster, const std::vector<SlotWrite>& writes,
                      const SafetyOptions& options);

// A save of one slot: a batch of one.
SaveReport writeSlotSafely(const RosterFile& roster, int slot, const Record& loaded,
                           const Record& working, const SafetyOptions& options);

} // namespace qb
