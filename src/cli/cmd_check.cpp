#include "cli/commands.h"
#include "cli/load_failure.h"
#include "codecs/field_keys.h"
#include "codecs/statistics.h"
#include "player/player_object.h"
#include "roster/player_lists.h"
#include "saving/safe_write.h"
#include "system/errors.h"

#include <cstdio>
#include <iostream>
#include <map>

namespace qb::cli {
namespace {

struct Finding {
    int slot; // -1 for the file as a whole
    std::string name;
    std::string field;
    std::string reason;
    bool error;
};

int report(const std::string& file, const std::vector<Finding>& findings, int namedSlots,
           Format format) {
    int errors = 0;
    for (const Finding& finding : findings) {
        errors += finding.error ? 1 : 0;
    }
    const int warnings = static_cast<int>(findings.size()) - errors;
    if (format == Format::Json) {
        Json list = Json::array();
        for (const Finding& f : findings) {
            list.push_back({{"slot", f.slot < 0 ? Json(nullptr) : Json(f.slot)},
                            {keys::kName, f.name},
                            {"field", f.field},
                            {"severity", f.error ? "error" : "warning"},
                            {"reason", f.reason}});
        }
        std::cout << Json{{"file", file},
                          {"namedSlots", namedSlots},
                          {"errors", errors},
                          {"warnings", warnings},
                          {"findings", list}}
                         .dump(2)
                  << '\n';
    } else {
        for (const Finding& f : findings) {
            const std::string where =
                f.slot < 0 ? file : "slot " + std::to_string(f.slot) + " (" + f.name + ")";
            std::printf("%s: %s: %s: %s\n", f.error ? "error" : "warning", where.c_str(),
                        f.field.c_str(), f.reason.c_str());
        }
        std::printf("%s: %d error%s, %d warning%s in %d named slots\n", file.c_str(), errors,
                    errors == 1 ? "" : "s", warnings, warnings == 1 ? "" : "s", namedSlots);
    }
    return errors > 0 ? 1 : 0;
}

} // namespace

void warnAboutCutOffSave(const std::string& file) {
    try {
        const std::vector<std::string> pending = pendingSaves(userDataFolder(), file);
        if (!pending.empty()) {
            std::cerr << "quillbay-cli: warning: " << pending.front()
                      << ": what is shown mixes its old and new bytes until the next command "
                         "that writes the file completes or undoes it\n";
        }
    } catch (const FileError&) {
        // no data folder: no journals either
    }
}

int runCheck(const std::string& file, Format format) {
    std::vector<Finding> findings;
    std::optional<RosterFile> roster;
    try {
        roster.emplace(file);
    } catch (const FileError& error) {
        // A file that is no roster is the one finding there is.
        findings.push_back({-1, "", "file", error.description(), true});
        return report(file, findings, 0, format);
    }
    if (roster->kindWarning()) {
        findings.push_back({-1, "", "file", *roster->kindWarning(), false});
    }
    try {
        for (const std::string& text : pendingSaves(userDataFolder(), file)) {
            findings.push_back({-1, "", "journal",
                                text + "; the next command that writes the file completes or "
                                       "undoes it",
                                true});
        }
        for (const std::string& text : setAsideJournals(userDataFolder(), file)) {
            findings.push_back({-1, "", "journal", text, false});
        }
    } catch (const FileError&) {
        // no data folder: no journals either
    }
    const SlotTable table = roster->readSlotTable();
    const RosterIndex index = buildRosterIndex(table);
    const auto playerListEnd = static_cast<int>(index.playerCount);
    std::map<int, int> firstSlotOfId;
    int namedSlots = 0;
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        const std::uint8_t* record = table.record(slot);
        if (isEmptySlot(record)) {
            continue;
        }
        ++namedSlots;
        const std::string name = index.slotEntries[static_cast<std::size_t>(slot)].name();
        const Record stored = table.copyRecord(slot);
        for (const FieldFailure& failure : showEveryField(stored).failures) {
            const std::optional<FieldRepair> repair = repairOfField(stored, failure.field);
            findings.push_back({slot, name, failure.field,
                                "the editor cannot show it (" + failure.message + ")" +
                                    (repair ? ": the file holds " + repair->before +
                                                  "; repair sets it to " + repair->after
                                            : ""),
                                true});
        }
        Record figures = table.copyRecord(slot);
        FieldRepairs outOfRange;
        repairStoredFigures(figures, outOfRange);
        for (const FieldRepair& figure : outOfRange) {
            findings.push_back({slot, name, figure.field,
                                "shows " + figure.before +
                                    ", which no save can store back, so the player cannot be "
                                    "saved; repair sets it to " +
                                    figure.after,
                                true});
        }
        if (slot > playerListEnd) {
            findings.push_back({slot, name, keys::kName,
                                "named slot after the first empty slot (" +
                                    std::to_string(playerListEnd) +
                                    "): hidden from the player list",
                                false});
        }
        const int id = read16(record, OFFSET_ID);
        const auto [first, inserted] = firstSlotOfId.emplace(id, slot);
        if (!inserted) {
            findings.push_back({slot, name, "id",
                                "ID " + std::to_string(id) + " is also the ID of slot " +
                                    std::to_string(first->second),
                                true});
        }
    }
    return report(file, findings, namedSlots, format);
}

} // namespace qb::cli
