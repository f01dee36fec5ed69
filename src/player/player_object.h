#pragma once

#include "player/shown_player.h"
#include "roster/layout.h"

#include <array>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace qb {

using Json = nlohmann::ordered_json;

// A key of the player object: a field of the registry, or one the decoder fills itself
// (slot, id, commentaryName, errors), which no edit changes.
struct ObjectKey {
    std::string key;
    const Field* field = nullptr;
    bool readOnly() const { return field == nullptr || field->readOnly(); }
};
// Every key in the order of the object and of CSV columns.
const std::vector<ObjectKey>& objectKeys();
const ObjectKey* findObjectKey(std::string_view key);

Json toJson(const FieldValue& value);

// The value of one key of the player object of `record`, shown as `shown`.
Json playerValue(const Record& record, int slot, const ShownPlayer& shown, const ObjectKey& key);

// A slot decoded as the window would show it, as the player object. Every show step
// runs on its own, so one field the window cannot show does not hide the others;
// statistics are shown for all four formats. Never changes the record.
Json decodePlayer(const Record& record, int slot);

// What a dump records of each player it writes, last and optional: a short hash of the
// slot's 348 bytes as read (player/dump_check.h), so `apply` can tell a row of an older
// dump from the file.
inline constexpr const char* kSlotHashKey = "slotHash";

// A value as text: strings as they are, numbers and flags as JSON writes them, null empty.
std::string valueText(const Json& value);

// A value as a CSV cell of the player object: flags as 1 or 0, null as an empty cell,
// anything else as valueText writes it.
std::string csvText(const Json& value);

// Puts `value` at a dotted key ("ratings.batting.Attack") of a nested object.
void setDotted(Json& object, const std::string& key, Json value);
// The value at a dotted key, or null.
const Json& getDotted(const Json& object, const std::string& key);

} // namespace qb
