#include "cli/edits.h"

#include "cli/cli_errors.h"
#include "cli/csv.h"
#include "cli/player_object.h"
#include "codecs/codec_errors.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "codecs/statistics.h"
#include "roster/faults.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <iostream>
#include <optional>

namespace qb::cli {
namespace {

std::string jsonValueText(const Json& value) {
    if (value.is_string()) {
        return value.get<std::string>();
    }
    if (value.is_boolean()) {
        return value.get<bool>() ? "true" : "false";
    }
    if (value.is_number_integer() || value.is_number_unsigned()) {
        return std::to_string(value.get<long long>());
    }
    return value.dump();
}

void flatten(const Json& node, const std::string& prefix,
             const std::function<void(const std::string&, const Json&)>& visit) {
    for (const auto& [key, value] : node.items()) {
        const std::string dotted = prefix.empty() ? key : prefix + "." + key;
        if (value.is_object()) {
            flatten(value, dotted, visit);
        } else {
            visit(dotted, value);
        }
    }
}

// Returns nullopt when no edit changed what the window shows.
std::optional<std::vector<int>> saveSlot(const RosterFile& roster, int slot,
                                         const std::vector<FieldEdit>& edits, bool dryRun,
                                         const SafetyOptions& safety, SlotBasis& basis) {
    PlayerEditor editor(kCommentaryNameCount);
    editor.load(roster, slot);
    const auto [computedFrom, first] = basis.try_emplace(slot, editor.loaded());
    if (!first && !safety.force && computedFrom->second != editor.loaded()) {
        throw SlotConflict("Slot " + std::to_string(slot) + " of " + roster.path() +
                               " was changed by another program since it was read",
                           roster.path());
    }
    bool changed = false;
    const auto applyFormat = [&](int format) {
        for (const FieldEdit& edit : edits) {
            if (std::max(edit.field->format, 0) != format) {
                continue;
            }
            const Json before = edit.field->get(editor.state());
            edit.field->set(editor.state(), edit.value);
            changed = changed || before != edit.field->get(editor.state());
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
    std::vector<int> written = editor.save(roster, dryRun, safety);
    for (const std::string& notice : editor.notices()) {
        std::cerr << "quillbay-cli: " << notice << '\n';
    }
    return written;
}

// What a command that stopped at `failedSlot` leaves: "nothing was written", or the
// slots already written with their offsets and the slots not written.
std::string writtenSoFar(const std::vector<SlotResult>& results, int failedSlot, bool trial) {
    std::string written;
    for (const SlotResult& result : results) {
        if (!trial && result.written && !result.written->empty()) {
            written += (written.empty() ? "" : "; ") + describe(result);
        }
    }
    if (written.empty()) {
        return "nothing was written";
    }
    return "already written: " + written + "; slot " + std::to_string(failedSlot) +
           " and the slots after it were not written";
}

} // namespace

FieldEdit checkedEdit(const std::string& key, const std::string& value, const std::string& where) {
    const PlayerField* field = findPlayerField(key);
    if (field == nullptr) {
        throw UsageError(where + "unknown key \"" + key + "\"");
    }
    if (field->readOnly()) {
        throw UsageError(where + key + " is read-only");
    }
    EditorState scratch;
    try {
        field->set(scratch, value);
    } catch (const UsageError& error) {
        throw UsageError(where + error.description());
    }
    return {field, value};
}

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

RosterEdits parseJsonEdits(const std::string& text, const std::string& path) {
    const Json document = Json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_array()) {
        throw UsageError(path + ": not a JSON array of player objects", path);
    }
    RosterEdits edits;
    for (std::size_t row = 0; row < document.size(); ++row) {
        const std::string where = path + ": entry " + std::to_string(row) + ": ";
        const Json& player = document[row];
        const Json& slot = player.is_object() ? player.value("slot", Json()) : Json();
        if (!slot.is_number_integer() || slot.get<int>() < 0 || slot.get<int>() >= SLOT_COUNT) {
            throw UsageError(where + "needs \"slot\" from 0 to 1599", path);
        }
        if (edits.contains(slot.get<int>())) {
            throw UsageError(where + "slot " + std::to_string(slot.get<int>()) +
                                 " appears more than once",
                             path);
        }
        std::vector<FieldEdit>& slotEdits = edits[slot.get<int>()];
        flatten(player, "", [&](const std::string& key, const Json& value) {
            const PlayerField* field = findPlayerField(key);
            if (field != nullptr && field->readOnly()) {
                return;
            }
            if (value.is_null()) {
                return;
            }
            slotEdits.push_back(checkedEdit(key, jsonValueText(value), where));
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
        if (findPlayerField(key) == nullptr) {
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
        int slot = -1;
        const auto [end, error] =
            std::from_chars(slotText.data(), slotText.data() + slotText.size(), slot);
        if (error != std::errc() || end != slotText.data() + slotText.size() || slot < 0 ||
            slot >= SLOT_COUNT) {
            throw UsageError(
                where + "column slot: \"" + slotText + "\" is not a slot from 0 to 1599", path);
        }
        if (edits.contains(slot)) {
            throw UsageError(where + "slot " + std::to_string(slot) + " appears more than once",
                             path);
        }
        std::vector<FieldEdit>& slotEdits = edits[slot];
        for (std::size_t c = 0; c < header.size(); ++c) {
            const PlayerField* field = findPlayerField(header[c]);
            if (row[c].empty() || field->readOnly()) {
                continue;
            }
            slotEdits.push_back(
                checkedEdit(header[c], row[c], where + "column " + header[c] + ": "));
        }
    }
    return edits;
}

std::vector<SlotResult> applyEdits(const RosterFile& roster, const RosterEdits& edits, bool dryRun,
                                   const SafetyOptions& safety, SlotBasis basis) {
    std::optional<RosterLock> lock;
    if (!dryRun) {
        lock.emplace(roster.path(), safety.lockWait);
    }
    faults::crashPoint("before-edits");
    std::vector<SlotResult> results;
    for (const bool trial : {true, false}) {
        if (!trial && dryRun) {
            break;
        }
        if (!trial) {
            roster.requireWritable();
        }
        results.clear();
        for (const auto& [slot, slotEdits] : edits) {
            const auto failed = [&](const std::string& description) {
                return QuillbayError(description + "; " + writtenSoFar(results, slot, trial),
                                     roster.path());
            };
            try {
                results.push_back({slot, saveSlot(roster, slot, slotEdits, trial, safety, basis)});
            } catch (const SlotConflict& error) {
                throw failed(error.description() + " (--force overwrites it)");
            } catch (const FieldError& error) {
                throw failed("slot " + std::to_string(slot) + ": " + error.field() + ": " +
                             error.description());
            } catch (const QuillbayError& error) {
                throw failed("slot " + std::to_string(slot) + ": " + error.description());
            }
        }
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
