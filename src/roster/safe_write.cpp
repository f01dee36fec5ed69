#include "roster/safe_write.h"

#include "roster/backups.h"
#include "roster/faults.h"
#include "roster/file_handle.h"
#include "roster/journal.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>

namespace qb {

SaveReport writeSlotSafely(const RosterFile& roster, int slot, const Record& loaded,
                           const Record& working, const SafetyOptions& options) {
    SaveReport report;
    const std::vector<int> offsets = changedOffsets(loaded, working);
    if (offsets.empty()) {
        return report;
    }
    const std::string dataFolder = options.dataFolderOrDefault();
    requireSlot(roster.path(), slot);
    const RosterLock lock(roster.path(), options.lockWait);
    // One handle, opened for reading and writing, serves the check, the writes and the
    // read-back; a file the user cannot write is reported as such.
    const FileHandle file(roster.path(), O_RDWR, "writing");
    Record current{};
    file.readAt(current.data(), current.size(), roster.slotOffset(slot));
    if (!options.force && current != loaded) {
        throw SlotConflict("Slot " + std::to_string(slot) + " of " + roster.path() +
                               " was changed by another program since it was loaded",
                           roster.path());
    }
    const FileIdentity identity = identifyFile(roster.path());
    if (options.backups) {
        try {
            backUpOnce(file, identity, dataFolder);
        } catch (const std::exception& error) {
            report.notices.push_back(std::string("No backup of ") + roster.path() +
                                     " could be made: " + error.what());
        }
    }

    Journal journal{identity, thisProcess(), roster.slotOffset(slot), {}, {}, {}};
    for (const int offset : offsets) {
        journal.offsets.push_back(static_cast<std::uint16_t>(offset));
        journal.oldBytes.push_back(current[static_cast<std::size_t>(offset)]);
        journal.newBytes.push_back(working[static_cast<std::size_t>(offset)]);
    }
    makePrivateFolder(dataFolder);
    makePrivateFolder((std::filesystem::path(dataFolder) / "journal").string());
    const std::string journalFile = journalPath(dataFolder, journal);
    writeJournal(journalFile, journal, options.durable);
    faults::crashPoint("after-journal");

    {
        std::size_t runsDone = 0;
        try {
            requireSlotTable(roster.path(), roster.kind(), file.size());
            writeRuns(file, journal.slotOffset, journal.offsets, journal.newBytes, &runsDone);
            if (options.durable) {
                file.sync();
            }
        } catch (const QuillbayError& error) {
            std::string outcome = "nothing of the slot was changed";
            if (runsDone > 0) {
                try {
                    writeRuns(file, journal.slotOffset, journal.offsets, journal.oldBytes, nullptr);
                    file.sync();
                    outcome = "the bytes already written were put back";
                } catch (const QuillbayError& rollback) {
                    outcome = "putting back the bytes already written failed too (" +
                              rollback.description() +
                              "); the slot will be restored the next time the file is opened";
                    throw FileError(error.description() + "; " + outcome, roster.path());
                }
            }
            std::remove(journalFile.c_str());
            throw FileError(error.description() + "; " + outcome, roster.path());
        }
    }
    Record after{};
    file.readAt(after.data(), after.size(), roster.slotOffset(slot));
    for (std::size_t i = 0; i < journal.offsets.size(); ++i) {
        if (after[journal.offsets[i]] != journal.newBytes[i]) {
            throw FileError("Reading " + roster.path() +
                                " back after saving found other bytes than were written",
                            roster.path());
        }
    }
    faults::crashPoint("before-journal-delete");
    std::remove(journalFile.c_str());
    report.written = offsets;
    return report;
}

} // namespace qb
