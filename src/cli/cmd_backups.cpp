#include "cli/commands.h"
#include "cli/edits.h"
#include "player/player_object.h"
#include "saving/backups.h"
#include "saving/restore.h"

#include <iostream>

namespace qb::cli {

int runBackups(const std::string& file, Format format) {
    const std::vector<Backup> backups = listBackups(file, SafetyOptions().dataFolderOrDefault());
    if (format == Format::Json) {
        Json list = Json::array();
        for (const Backup& backup : backups) {
            list.push_back(
                {{"path", backup.path},
                 {"time", backup.time},
                 {"differingSlots", backup.differingSlots ? Json(*backup.differingSlots) : Json()},
                 {"kept", backup.kept}});
        }
        std::cout << list.dump(2) << '\n';
        return 0;
    }
    for (const Backup& backup : backups) {
        std::cout << backup.time << "  "
                  << (!backup.differingSlots ? std::string("unreadable")
                      : *backup.differingSlots == 1
                          ? std::string("1 slot differs")
                          : std::to_string(*backup.differingSlots) + " slots differ")
                  << "  " << (backup.kept.empty() ? "goes with the next backup" : backup.kept)
                  << "  " << backup.path << '\n';
    }
    return 0;
}

int runRestore(const std::string& file, const std::string& source, const std::vector<int>& slots,
               const ReportStyle& style, SafetyOptions safety) {
    safety.keepBackup = source; // the backup made first never rotates its source out
    const RosterFile roster(file);
    warnAboutKind(roster);
    const std::vector<SlotWrite> writes = restoreWrites(roster, RosterFile(source), slots);
    std::vector<std::string> notices;
    if (!style.dryRun) {
        roster.requireWritable();
        try {
            notices = writeSlots(roster, writes, safety).notices;
            keepUntilBackedUp(source, file, safety.dataFolderOrDefault());
        } catch (const SlotConflict& error) {
            throw QuillbayError(
                error.description() + " (--force overwrites it); nothing was written", file);
        }
    }
    for (const SlotWrite& write : writes) {
        printSlot({write.slot, changedOffsets(write.expected, write.record), write.expected,
                   write.record},
                  style);
    }
    for (const std::string& notice : notices) {
        std::cerr << "quillbay-cli: " << notice << '\n';
    }
    return 0;
}

} // namespace qb::cli
