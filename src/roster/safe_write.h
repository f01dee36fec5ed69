#pragma once

#include "roster/data_folder.h"
#include "roster/errors.h"
#include "roster/recovery.h"
#include "roster/roster_file.h"
#include "roster/roster_lock.h"

#include <chrono>
#include <string>
#include <vector>

namespace qb {

// The slot on disk is no longer what was loaded: another program changed it.
class SlotConflict : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

struct SafetyOptions {
    bool backups = true; // copy the file once per session before its first write
    bool force = false;  // write even when the slot on disk changed since it was loaded
    // Journals and backups; empty: userDataFolder(), resolved when a save needs it.
    std::string dataFolder;
    // Flush the journal and the slot to the disk before going on. Only measurements
    // of the work around the flushes turn this off.
    bool durable = true;
    // How long a save waits for another Quillbay process to let go of the file.
    std::chrono::milliseconds lockWait = RosterLock::kDefaultWait;

    std::string dataFolderOrDefault() const {
        return dataFolder.empty() ? userDataFolder() : dataFolder;
    }
};

struct SaveReport {
    std::vector<int> written;         // record offsets written
    std::vector<std::string> notices; // things the user should know (a backup that failed)
};

// Writes the bytes where `working` differs from `loaded` into the slot, so that the
// slot ends up either as it was or with every changed byte, whatever happens. All of
// it runs under the roster's lock (roster/roster_lock.h):
//  1. the slot is read again; when it differs from `loaded`, SlotConflict (unless forced);
//  2. the first write to a file in this process copies it to its backup folder first;
//  3. a journal (the file's identity, this process, the slot's offset, old and new
//     bytes, checksum) is written and flushed;
//  4. the changed runs are written in place and flushed; a failure puts the bytes
//     already written back and reports whether that worked;
//  5. the slot is read back and compared; the journal is deleted.
SaveReport writeSlotSafely(const RosterFile& roster, int slot, const Record& loaded,
                           const Record& working, const SafetyOptions& options);

} // namespace qb
