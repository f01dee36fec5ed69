#include "player/patch.h"

#include "player/json_reader.h"
#include "player/player_compare.h"
#include "player/player_copy.h"
#include "player/text_encoding.h"
#include "player/workbook_writer.h"
#include "system/quoted_text.h"

#include <functional>
#include <map>
#include <set>

namespace qb {
namespace {

std::string jsonValueText(const Json& value, const std::string& key, const std::string& where) {
    if (value.is_array() || value.is_object()) {
        throw EditError(where + key + " takes a single value, not " +
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

// A name a spreadsheet garbled by opening a UTF-8 file as Windows-1252: every such
// name in the file would be written so, so it is refused rather than guessed at.
std::string misreadRefusal(const std::string& value, const std::string& meant) {
    return quotedText(value) + " is " + quotedText(meant) +
           " read in the wrong encoding: the spreadsheet opened the UTF-8 file as "
           "Windows-1252. " +
           std::string(kImportAsUtf8);
}

} // namespace

PlayerNaming::PlayerNaming(MatchBy by)
    : bySlot(by == MatchBy::Slot), key(bySlot ? "slot" : "id"),
      highest(bySlot ? SLOT_COUNT - 1 : 0xFFFF) {}

std::optional<int> PlayerNaming::fromText(std::string_view text) const {
    return wholeNumber(text, 0, highest);
}

std::optional<int> PlayerNaming::fromJson(const Json& value) const {
    // The reader gives every whole number of 0 or more this type; negative, fractional
    // and text values are of other types.
    return value.is_number_unsigned() ? fromText(value.dump()) : std::nullopt;
}

std::string PlayerNaming::byIdHint(bool namesById, std::string_view players) const {
    return bySlot && namesById
               ? " (the " + std::string(players) + " name players by \"id\": use --match id)"
               : "";
}

std::string PlayerNaming::repeated(int number) const {
    return key + " " + std::to_string(number) + " appears more than once";
}

FieldEdit fieldEdit(const std::string& key, const std::string& value, const std::string& where) {
    const ObjectKey* known = findObjectKey(key);
    if (known == nullptr) {
        throw EditError(where + "unknown key " + quotedText(key));
    }
    if (known->readOnly()) {
        throw EditError(where + key + " is read-only");
    }
    PlayerSheet scratch;
    try {
        known->field->set(scratch, value);
    } catch (const FieldValueError& error) {
        return {known->field, value, where + error.description()};
    }
    if (known->field->kind == FieldKind::Text) {
        if (const std::optional<std::string> meant = misreadUtf8(value)) {
            return {known->field, value, where + misreadRefusal(value, *meant)};
        }
    }
    return {known->field, value};
}

std::string writePatch(RosterDocument& a, RosterDocument& b, const std::vector<PlayerPair>& pairs,
                       MatchBy by, const FieldSelection& selection) {
    Json patch = Json::array();
    for (const PlayerPair& pair : pairs) {
        const std::vector<const Field*> fields =
            differingFields(a, pair.left, b, pair.right, selection);
        if (fields.empty()) {
            continue;
        }
        const ShownPlayer shown = b.shownWithEdits(pair.right);
        Json entry =
            by == MatchBy::Id ? Json{{"id", playerId(b, pair.right)}} : Json{{"slot", pair.left}};
        bool carried = false;
        for (const Field* field : fields) {
            // A value B cannot show would be null, which apply leaves alone: left out.
            if (Json value = toJson(shown.value(*field)); !value.is_null()) {
                setDotted(entry, field->key, std::move(value));
                carried = true;
            }
        }
        if (carried) {
            patch.push_back(std::move(entry));
        }
    }
    return patch.dump(2) + "\n";
}

void writePatchWorkbook(const std::string& path, RosterDocument& a, RosterDocument& b,
                        const std::vector<PlayerPair>& pairs, MatchBy by) {
    std::map<int, std::map<const Field*, Json>> rows; // by the row's slot or ID
    std::set<const Field*> differing;
    for (const PlayerPair& pair : pairs) {
        const std::vector<const Field*> fields = differingFields(a, pair.left, b, pair.right, {});
        const ShownPlayer shown = b.shownWithEdits(pair.right);
        for (const Field* field : fields) {
            if (Json value = toJson(shown.value(*field)); !value.is_null()) {
                rows[by == MatchBy::Id ? playerId(b, pair.right) : pair.left][field] = value;
                differing.insert(field);
            }
        }
    }
    WorkbookPlayers workbook;
    workbook.keys = {findObjectKey(by == MatchBy::Id ? "id" : "slot")};
    for (const ObjectKey& key : objectKeys()) {
        if (key.field != nullptr && differing.contains(key.field)) {
            workbook.keys.push_back(&key);
        }
    }
    for (const auto& row : rows) {
        workbook.playerSlots.push_back(row.first);
    }
    workbook.value = [&rows](int player, const ObjectKey& key) {
        if (key.field == nullptr) {
            return Json(player);
        }
        const auto& values = rows.at(player);
        const auto value = values.find(key.field);
        return value != values.end() ? value->second : Json();
    };
    writeWorkbook(path, workbook,
                  {b.path(), b.file().kind() == FileKind::SavedGame ? "saved game" : "roster file",
                   "Quillbay (the differences of " + a.path() + " and " + b.path() + ")"});
}

std::vector<PatchEntry> readPatch(const std::string& text, const std::string& path, MatchBy by) {
    const Json document = readJsonEdits(text, path, kPlayerObjectDepth);
    if (!document.is_array()) {
        throw EditError(path + ": not a JSON array of player objects", path);
    }
    const PlayerNaming naming(by);
    std::vector<PatchEntry> entries;
    std::set<int> seen;
    for (std::size_t row = 0; row < document.size(); ++row) {
        const std::string where = path + ": entry " + std::to_string(row) + ": ";
        const Json& player = document[row];
        const std::optional<int> named =
            naming.fromJson(player.is_object() ? player.value(naming.key, Json()) : Json());
        if (!named) {
            // A patch by ID read by slot: say how it is read.
            const bool byId =
                player.is_object() && player.contains("id") && !player.contains("slot");
            throw EditError(where + "needs \"" + naming.key + "\", a whole number from 0 to " +
                                std::to_string(naming.highest) + naming.byIdHint(byId, "entries"),
                            path);
        }
        if (!seen.insert(*named).second) {
            throw EditError(where + naming.repeated(*named), path);
        }
        PatchEntry& entry = entries.emplace_back(PatchEntry{*named, {}});
        std::set<std::string> keys; // "a.b" may come nested and dotted
        flatten(player, "", [&](const std::string& key, const Json& value) {
            if (!keys.insert(key).second) {
                throw EditError(where + "the key " + quotedText(key) + " is given twice", path);
            }
            if (key == kSlotHashKey) {
                entry.slotHash = DumpedHash{jsonValueText(value, key, where), where + key};
                return;
            }
            const ObjectKey* known = findObjectKey(key);
            if ((known != nullptr && known->readOnly()) || value.is_null()) {
                return;
            }
            entry.edits.push_back(fieldEdit(key, jsonValueText(value, key, where), where));
        });
    }
    return entries;
}

std::optional<int> slotHoldingId(const std::map<int, std::vector<int>>& holders, int id,
                                 const std::string& path) {
    const auto found = holders.find(id);
    if (found == holders.end()) {
        return std::nullopt;
    }
    if (const std::optional<std::string> shared = sharedIdText(holders, id, path)) {
        throw EditError(*shared + "; nothing was written", path);
    }
    return found->second.front();
}

std::vector<Edit> patchEdits(RosterDocument& document, const RosterEdits& players, MatchBy by,
                             std::vector<int>& unmatched) {
    const std::map<int, std::vector<int>> holders = namedSlotsById(document);
    std::vector<Edit> edits;
    for (const auto& [player, values] : players) {
        const std::optional<int> slot =
            by == MatchBy::Slot ? player : slotHoldingId(holders, player, document.path());
        if (!slot) {
            unmatched.push_back(player);
            continue;
        }
        const std::vector<Edit> slotEdits = editsShowing(document, *slot, values);
        edits.insert(edits.end(), slotEdits.begin(), slotEdits.end());
    }
    return edits;
}

} // namespace qb
