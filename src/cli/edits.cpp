#include "cli/edits.h"

#include "cli/cli_errors.h"
#include "cli/csv.h"
#include "cli/player_object.h"
#include "codecs/codec_errors.h"
#include "codecs/field_keys.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "codecs/statistics.h"
#include "roster/faults.h"

#include <algorithm>
#include <functional>
#include <iostream>
#include <optional>

namespace qb::cli {
namespace {

// The deepest a player object nests: the array of players, a player, "statistics",
// "Test", then the figure. Deeper input is refused while it is read, so nothing
// recursive ever meets it.
constexpr int kDeepestContainer = 3;

std::string jsonValueText(const Json& value, const std::string& key, const std::string& where) {
    if (value.is_array() || value.is_object()) {
        throw UsageError(where + key + " takes a single value, not " +
                         (value.is_array() ? "an array" : "an object"));
    }
    return value.is_string() ? value.get<std::string>() : value.dump();
}

// Calls `visit` for every leaf of a player object, and for a key of the player
// object whose value is an object.
void flatten(const Json& node, const std::string& prefix,
             const std::function<void(const std::string&, const Json&)>& visit) {
    for (const auto& [key, value] : node.items()) {
        const std::string dotted = prefix.empty() ? key : prefix + "." + key;
        if (value.is_object() && findObjectKey(dotted) == nullptr) {
            flatten(value, dotted, visit);
        } else {
            visit(dotted, value);
        }
    }
}

// True when `text` asks for the value the field shows already. A value the field
// would refuse (a 16-character name, a name with a tab) can still be the one shown,
// so a dump applied as it is changes nothing.
bool showsAlready(const Field& field, const PlayerSheet& shown, const std::string& text) {
    const Json current = toJson(field.get(shown));
    if (valueText(current) == text) {
        return true;
    }
    PlayerSheet asked = shown;
    try {
        field.set(asked, text);
    } catch (const FieldValueError&) {
        return false;
    }
    return toJson(field.get(asked)) == current;
}

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
            throw FieldError(field.key, "the value asked, \"" + valueText(asked[i]) +
                                            "\", would not be kept: it would show as \"" +
                                            valueText(shown) + "\"");
        }
    }
}

// The slot's record with the edits stored as the window stores them, and the record
// they were computed from; nullopt when no edit changes what the window shows.
std::optional<SlotWrite> editedSlot(const RosterFile& roster, int slot, const Record& stored,
                                    const std::vector<FieldEdit>& requested,
                                    const EditOptions& options, SlotBasis& basis) {
    const ShownPlayer before = showEveryField(stored, editsStatistics(requested));
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
        return std::nullopt;
    }
    PlayerEditor editor(kCommentaryNameCount);
    editor.load(roster, slot, stored);
    const auto [computedFrom, first] = basis.try_emplace(slot, editor.loaded());
    if (!first && !options.safety.force && computedFrom->second != editor.loaded()) {
        throw SlotConflict("Slot " + std::to_string(slot) + " of " + roster.path() +
                               " was changed by another program since it was read",
                           roster.path());
    }
    bool changed = false;
    std::vector<Json> asked(edits.size());
    const auto applyFormat = [&](int format) {
        for (std::size_t i = 0; i < edits.size(); ++i) {
            const Field& field = *edits[i].field;
            if (std::max(field.format, 0) != format) {
                continue;
            }
            const Json shown = toJson(field.get(editor.state()));
            field.set(editor.state(), edits[i].value);
            asked[i] = toJson(field.get(editor.state()));
            changed = changed || shown != asked[i];
        }
    };
    applyFormat(0); // loading shows Test
    for (int format = 1; format < kStatisticsFormatCount; ++format) {
        const bool edited = std::any_of(edits.begin(), edits.end(), [format](const FieldEdit& e) {
            return e.field->format == format;
        });
        if (edited) {
            editor.switchStatisticsFormat(format);
            applyFormat(format);
        }
    }
    if (!changed) {
        return std::nullopt;
    }
    if (editor.state().name.empty() && !before.shown.name.empty() && !options.mayEmptyNames) {
        throw FieldError(keys::kName, "an empty name empties the slot and hides the player; "
                                      "nothing was written (--yes empties it)");
    }
    editor.save(roster, true, options.safety); // stores the edits, writes nothing
    requireShownBack(editor.working(), edits, asked);
    return SlotWrite{slot, editor.working(), editor.loaded()};
}

QuillbayError nothingWritten(const RosterFile& roster, const std::string& description) {
    return QuillbayError(description + "; nothing was written", roster.path());
}

// The batch of every edited slot written as one; a failure names the slot when one is
// concerned and says that nothing was written.
SaveReport writeBatch(const RosterFile& roster, const std::vector<SlotWrite>& writes,
                      const SafetyOptions& safety) {
    const auto failed = [&](const std::string& description) {
        return nothingWritten(roster, description);
    };
    try {
        return writeSlots(roster, writes, safety);
    } catch (const SlotConflict& error) {
        throw failed(error.description() + " (--force overwrites it)");
    } catch (const SlotWriteFailed& error) {
        throw failed("slot " + std::to_string(error.slot()) + ": " + error.description());
    } catch (const QuillbayError& error) {
        const std::string slot =
            writes.size() == 1 ? "slot " + std::to_string(writes.front().slot) + ": " : "";
        throw failed(slot + error.description());
    }
}

} // namespace

FieldEdit checkedEdit(const std::string& key, const std::string& value, const std::string& where) {
    const ObjectKey* known = findObjectKey(key);
    if (known == nullptr) {
        throw UsageError(where + "unknown key \"" + key + "\"");
    }
    if (known->readOnly()) {
        throw UsageError(where + key + " is read-only");
    }
    PlayerSheet scratch;
    try {
        known->field->set(scratch, value);
    } catch (const FieldValueError& error) {
        throw UsageError(where + error.description());
    }
    return {known->field, value};
}

namespace {

// An edit read from a file: a refused value is held until the slot is read.
FieldEdit fileEdit(const std::string& key, const std::string& value, const std::string& where) {
    try {
        return checkedEdit(key, value, where);
    } catch (const UsageError& error) {
        const ObjectKey* known = findObjectKey(key);
        if (known == nullptr || known->readOnly()) {
            throw;
        }
        return {known->field, value, error.description()};
    }
}

} // namespace

std::vector<FieldEdit> parseAssignments(const std::vector<std::string>& assignments) {
    std::vector<FieldEdit> edits;
    for (const std::string& assignment : assignments) {
        const auto equals = assignment.find('=');
        if (equals == std::string::npos) {
            throw UsageError("\"" + assignment + "\" is not KEY=VALUE");
        }
        edits.push_back(
            checkedEdit(assignment.substr(0, equals), assignment.substr(equals + 1), ""));
    }
    return edits;
}

std::optional<int> slotOfJson(const Json& value) {
    // The reader gives every whole number of 0 or more this type; negative, fractional
    // and text slots are of other types.
    if (value.is_number_unsigned() && value.get<std::uint64_t>() < SLOT_COUNT) {
        return static_cast<int>(value.get<std::uint64_t>());
    }
    return std::nullopt;
}

RosterEdits parseJsonEdits(const std::string& text, const std::string& path) {
    const auto limitDepth = [&path](int depth, Json::parse_event_t event, Json&) {
        if ((event == Json::parse_event_t::object_start ||
             event == Json::parse_event_t::array_start) &&
            depth > kDeepestContainer) {
            throw UsageError(path + ": nested deeper than a player object (more than " +
                                 std::to_string(kDeepestContainer + 1) + " levels)",
                             path);
        }
        return true;
    };
    const Json document = Json::parse(text, limitDepth, false);
    if (document.is_discarded() || !document.is_array()) {
        throw UsageError(path + ": not a JSON array of player objects", path);
    }
    RosterEdits edits;
    for (std::size_t row = 0; row < document.size(); ++row) {
        const std::string where = path + ": entry " + std::to_string(row) + ": ";
        const Json& player = document[row];
        const std::optional<int> slot =
            slotOfJson(player.is_object() ? player.value("slot", Json()) : Json());
        if (!slot) {
            throw UsageError(where + "needs \"slot\", a whole number from 0 to 1599", path);
        }
        if (edits.contains(*slot)) {
            throw UsageError(where + "slot " + std::to_string(*slot) + " appears more than once",
                             path);
        }
        std::vector<FieldEdit>& slotEdits = edits[*slot];
        flatten(player, "", [&](const std::string& key, const Json& value) {
            const ObjectKey* known = findObjectKey(key);
            if (known != nullptr && known->readOnly()) {
                return;
            }
            if (value.is_null()) {
                return;
            }
            slotEdits.push_back(fileEdit(key, jsonValueText(value, key, where), where));
        });
    }
    return edits;
}

RosterEdits parseCsvEdits(const std::string& text, const std::string& path) {
    const auto rows = parseCsv(text, path);
    if (rows.empty()) {
        throw UsageError(path + ": no header row", path);
    }
    const std::vector<std::string>& header = rows.front();
    const auto slotColumn = std::find(header.begin(), header.end(), "slot");
    if (slotColumn == header.end()) {
        throw UsageError(path + ": no \"slot\" column", path);
    }
    for (const std::string& key : header) {
        if (findObjectKey(key) == nullptr) {
            throw UsageError(path + ": row 1: unknown column \"" + key + "\"", path);
        }
    }
    RosterEdits edits;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::string where = path + ": row " + std::to_string(r + 1) + ": ";
        const std::vector<std::string>& row = rows[r];
        if (row.size() != header.size()) {
            throw UsageError(where + "has " + std::to_string(row.size()) + " cells, the header " +
                                 std::to_string(header.size()),
                             path);
        }
        const std::string& slotText = row[static_cast<std::size_t>(slotColumn - header.begin())];
        const std::optional<int> slot = wholeNumber(slotText, 0, SLOT_COUNT - 1);
        if (!slot) {
            throw UsageError(
                where + "column slot: \"" + slotText + "\" is not a slot from 0 to 1599", path);
        }
        if (edits.contains(*slot)) {
            throw UsageError(where + "slot " + std::to_string(*slot) + " appears more than once",
                             path);
        }
        std::vector<FieldEdit>& slotEdits = edits[*slot];
        for (std::size_t c = 0; c < header.size(); ++c) {
            if (row[c].empty() || findObjectKey(header[c])->readOnly()) {
                continue;
            }
            slotEdits.push_back(fileEdit(header[c], row[c], where + "column " + header[c] + ": "));
        }
    }
    return edits;
}

std::vector<SlotResult> applyEdits(const RosterFile& roster, const RosterEdits& edits,
                                   const EditOptions& options, SlotBasis basis) {
    std::optional<RosterLock> lock;
    if (!options.dryRun) {
        lock.emplace(roster.path(), options.safety.lockWait);
    }
    faults::crashPoint("before-edits");
    std::vector<SlotResult> results;
    std::vector<SlotWrite> writes;
    writes.reserve(edits.size());
    const SlotTable table = roster.readSlotTable();
    for (const auto& entry : edits) {
        // A named copy: structured bindings cannot be captured by every compiler.
        const int slot = entry.first;
        const std::vector<FieldEdit>& slotEdits = entry.second;
        const auto failed = [&](const std::string& description) {
            return nothingWritten(roster, description);
        };
        try {
            std::optional<SlotWrite> write =
                editedSlot(roster, slot, table.copyRecord(slot), slotEdits, options, basis);
            if (!write) {
                results.push_back({slot, std::nullopt});
                continue;
            }
            results.push_back({slot, changedOffsets(write->expected, write->record)});
            writes.push_back(std::move(*write));
        } catch (const SlotConflict& error) {
            throw failed(error.description() + " (--force overwrites it)");
        } catch (const FieldError& error) {
            throw failed("slot " + std::to_string(slot) + ": " + error.field() + ": " +
                         error.description());
        } catch (const QuillbayError& error) {
            throw failed("slot " + std::to_string(slot) + ": " + error.description());
        }
    }
    if (options.dryRun) {
        return results;
    }
    roster.requireWritable();
    for (const std::string& notice : writeBatch(roster, writes, options.safety).notices) {
        std::cerr << "quillbay-cli: " << notice << '\n';
    }
    return results;
}

std::string describe(const SlotResult& result) {
    std::string text = "slot " + std::to_string(result.slot) + ":";
    if (!result.written || result.written->empty()) {
        return text + " no change";
    }
    text += " wrote";
    for (const int offset : *result.written) {
        text += " " + std::to_string(offset);
    }
    return text;
}

} // namespace qb::cli
