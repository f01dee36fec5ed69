#include "cli/edits.h"

#include "cli/cli_errors.h"
#include "cli/load_failure.h"
#include "codecs/codec_errors.h"
#include "codecs/field_keys.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "codecs/statistics.h"
#include "player/dump_check.h"
#include "player/player_copy.h"
#include "player/player_match.h"
#include "system/faults.h"
#include "system/quoted_text.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <set>

namespace qb::cli {
namespace {

bool editsStatistics(const std::vector<FieldEdit>& edits) {
    return std::any_of(edits.begin(), edits.end(),
                       [](const FieldEdit& edit) { return edit.field->format >= 0; });
}

// Every edited field must show back the value asked for once the record is stored
// and loaded again; a value that the store rules do not keep is refused.
void requireShownBack(const Record& stored, const std::vector<FieldEdit>& edits,
                      const std::vector<Json>& asked) {
    const ShownPlayer after = showEveryField(stored, editsStatistics(edits));
    for (std::size_t i = 0; i < edits.size(); ++i) {
        const Field& field = *edits[i].field;
        const Json shown = toJson(after.value(field));
        if (shown != asked[i]) {
            throw FieldError(field.key, "the value asked, " + quotedText(valueText(asked[i])) +
                                            ", would not be kept: it would show as " +
                                            quotedText(valueText(shown)));
        }
    }
}

// Puts the edits into the slot's player in the document, checked as a save would
// check them; false when no edit changes what the window shows.
bool editSlot(RosterDocument& document, int slot, const std::vector<FieldEdit>& requested,
              const EditOptions& options, SlotBasis& basis) {
    const ShownPlayer before =
        showEveryField(document.table().copyRecord(slot), editsStatistics(requested));
    std::vector<FieldEdit> edits;
    for (const FieldEdit& edit : requested) {
        if (showsAlready(*edit.field, before.sheetFor(*edit.field), edit.value)) {
            continue;
        }
        if (!edit.refusal.empty()) {
            throw UsageError(edit.refusal);
        }
        edits.push_back(edit);
    }
    if (edits.empty()) {
        return false;
    }
    requireCopyTarget(document, slot); // an empty slot is filled by import, as copy says
    PlayerEditor& editor = document.player(slot);
    const auto [computedFrom, first] = basis.try_emplace(slot, editor.loaded());
    if (!first && !options.safety.force && computedFrom->second != editor.loaded()) {
        throw SlotConflict("Slot " + std::to_string(slot) + " of " + document.path() +
                               " was changed by another program since it was read",
                           document.path());
    }
    // Loading shows Test; the other formats follow in order, each switch storing the
    // format left, as the window does.
    bool changed = false;
    std::vector<Json> asked(edits.size());
    for (int format = 0; format < kStatisticsFormatCount; ++format) {
        for (std::size_t i = 0; i < edits.size(); ++i) {
            const Field& field = *edits[i].field;
            if (std::max(field.format, 0) != format) {
                continue;
            }
            const Edit edit = document.makeEdit(slot, field, edits[i].value);
            const Json shown = toJson(field.get(editor.sheet()));
            document.apply(edit);
            asked[i] = toJson(field.get(editor.sheet()));
            changed = changed || shown != asked[i];
        }
    }
    if (!changed) {
        return false;
    }
    if (editor.sheet().name.empty() && !before.shown.name.empty() && !options.mayEmptyNames) {
        throw FieldError(keys::kName, "an empty name empties the slot and hides the player; "
                                      "nothing was written (--yes empties it)");
    }
    editor.store(document.file());
    requireShownBack(editor.working(), edits, asked);
    return true;
}

// The failure of a command that wrote nothing; it says so once.
QuillbayError nothingWritten(const RosterFile& roster, const std::string& description) {
    constexpr std::string_view kSaid = "nothing was written";
    return QuillbayError(description.find(kSaid) == std::string::npos
                             ? description + "; " + std::string(kSaid)
                             : description,
                         roster.path());
}

// The edited slots written as one batch; a failure names the slot when one is
// concerned and says that nothing was written.
void writeBatch(RosterDocument& document, const std::vector<int>& slots,
                const SafetyOptions& safety) {
    const auto failed = [&](const std::string& description) {
        return nothingWritten(document.file(), description);
    };
    try {
        document.saveSlots(slots, safety);
    } catch (const SlotConflict& error) {
        throw failed(error.description() + " (--force overwrites it)");
    } catch (const SlotWriteFailed& error) {
        throw failed("slot " + std::to_string(error.slot()) + ": " + error.description());
    } catch (const QuillbayError& error) {
        const std::string slot =
            slots.size() == 1 ? "slot " + std::to_string(slots.front()) + ": " : "";
        throw failed(slot + error.description());
    }
}

// Refuses the edits when the dump's hashes say a slot they change was changed by another
// program since (unless forced), or a hash cell was damaged, or a read-only cell differs
// from the roster.
void checkAgainstTheDump(const RosterDocument& document, const EditsFile& edits,
                         const std::vector<int>& edited, const EditOptions& options) {
    const SlotTable& table = document.table();
    if (!options.safety.force) {
        const DumpCheck check = checkAgainstDump(table, edits.hashes, edited, options.forcedSlots);
        if (!check.passed()) {
            std::vector<int> slots = check.changed;
            slots.insert(slots.end(), check.damaged.begin(), check.damaged.end());
            std::ranges::sort(slots);
            std::string list;
            for (const int slot : slots) {
                list += (list.empty() ? "" : ",") + std::to_string(slot);
            }
            throw nothingWritten(document.file(),
                                 dumpCheckText(check, table) +
                                     ": dump again, or overwrite with --force-slots " + list);
        }
    }
    const std::vector<std::string> readOnly = changedReadOnlyCells(table, edits);
    if (!readOnly.empty()) {
        std::string text;
        for (const std::string& cell : readOnly) {
            text += (text.empty() ? "" : "\n") + cell;
        }
        throw nothingWritten(document.file(), text + "\n(empty such a cell, or dump again)");
    }
}

} // namespace

FieldEdit checkedEdit(const std::string& key, const std::string& value, const std::string& where) {
    FieldEdit edit;
    try {
        edit = fieldEdit(key, value, where);
    } catch (const EditError& error) {
        throw UsageError(error.description());
    }
    if (!edit.refusal.empty()) {
        throw UsageError(edit.refusal);
    }
    return edit;
}

std::vector<FieldEdit> parseAssignments(const std::vector<std::string>& assignments) {
    std::vector<FieldEdit> edits;
    std::set<std::string> keys;
    for (const std::string& assignment : assignments) {
        const auto equals = assignment.find('=');
        if (equals == std::string::npos) {
            throw UsageError(quotedText(assignment) + " is not KEY=VALUE");
        }
        if (!keys.insert(assignment.substr(0, equals)).second) {
            throw UsageError("the key " + quotedText(assignment.substr(0, equals)) +
                             " is given twice");
        }
        edits.push_back(
            checkedEdit(assignment.substr(0, equals), assignment.substr(equals + 1), ""));
    }
    return edits;
}

EditsFile editsOf(RosterEdits players, MatchBy by) {
    EditsFile edits;
    edits.by = by;
    edits.players = std::move(players);
    return edits;
}

EditResults applyEdits(RosterDocument& document, EditsFile requested, const EditOptions& options,
                       SlotBasis records) {
    std::optional<RosterLock> lock;
    if (!options.dryRun) {
        lock.emplace(document.path(), options.safety.lockWait);
    }
    faults::crashPoint("before-edits");
    document.reload(); // under the lock
    EditResults results;
    const EditsFile edits = keyedBySlot(std::move(requested), document, results.unmatched);
    std::vector<int> edited;
    for (const auto& entry : edits.players) {
        // A named copy: structured bindings cannot be captured by every compiler.
        const int slot = entry.first;
        const auto failed = [&](const std::string& description) {
            return nothingWritten(document.file(), description);
        };
        try {
            if (!editSlot(document, slot, entry.second, options, records)) {
                results.slots.push_back({slot, {}});
                continue;
            }
            const PlayerEditor& editor = document.player(slot);
            results.slots.push_back({slot, changedOffsets(editor.loaded(), editor.working()),
                                     editor.loaded(), editor.working()});
            edited.push_back(slot);
        } catch (const SlotConflict& error) {
            throw failed(error.description() + " (--force overwrites it)");
        } catch (const CopyError& error) {
            throw failed(error.description()); // an empty slot: says which already
        } catch (const ShowError& error) {
            throw failed(
                loadFailure(document.path(), slot, document.table().copyRecord(slot), error));
        } catch (const FieldError& error) {
            throw failed("slot " + std::to_string(slot) + ": " + error.field() + ": " +
                         error.description());
        } catch (const QuillbayError& error) {
            throw failed("slot " + std::to_string(slot) + ": " + error.description());
        }
    }
    checkAgainstTheDump(document, edits, edited, options);
    if (options.dryRun) {
        return results;
    }
    document.file().requireWritable();
    writeBatch(document, edited, options.safety);
    for (const std::string& notice : document.notices()) {
        std::cerr << "quillbay-cli: " << notice << '\n';
    }
    return results;
}

} // namespace qb::cli
