#pragma once

#include "roster/errors.h"
#include "roster/roster_file.h"

#include <string>
#include <vector>

namespace qb {

// The slot on disk is no longer what was loaded: another program changed it.
class SlotConflict : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

// The user's data folder for journals and backups: $XDG_DATA_HOME/Quillbay, or
// ~/.local/share/Quillbay.
std::string userDataFolder();

struct SafetyOptions {
    bool backups = true; // copy the file once per session before its first write
    bool force = false;  // write even when the slot on disk changed since it was loaded
    std::string dataFolder = userDataFolder();
    // Flush the journal and the slot to the disk before going on. Only measurements
    // of the work around the flushes turn this off.
    bool durable = true;
};

struct SaveReport {
    std::vector<int> written;         // record offsets written
    std::vector<std::string> notices; // things the user should know (a backup that failed)
};

// Writes the bytes where `working` differs from `loaded` into the slot, so that the
// slot ends up either as it was or with every changed byte, whatever happens:
//  1. the slot is read again; when it differs from `loaded`, SlotConflict (unless forced);
//  2. the first write to a file in this process copies it to <data>/backups first;
//  3. a journal (file, slot offset, old and new bytes, checksum) is written and flushed;
//  4. the changed runs are written in place and flushed; a failure puts the bytes
//     already written back and reports whether that worked;
//  5. the slot is read back and compared; the journal is deleted.
SaveReport writeSlotSafely(const RosterFile& roster, int slot, const Record& loaded,
                           const Record& working, const SafetyOptions& options);

// Completes what an interrupted save left: each journal in <data>/journal whose slot
// holds neither its old nor its new bytes is put back to the old bytes. Returns one
// message per journal found, for the user. `onlyFor`, when not empty, limits it to
// journals of that file.
std::vector<std::string> recoverInterruptedSaves(const std::string& dataFolder,
                                                 const std::string& onlyFor = {});

} // namespace qb
