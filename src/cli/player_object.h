#pragma once

#include "cli/player_fields.h"
#include "roster/layout.h"

namespace qb::cli {

// A slot decoded as the window would show it, as the player object. Every show step
// runs on its own, so one field the window cannot show does not hide the others;
// statistics are shown for all four formats. Never changes the record.
Json decodePlayer(const Record& record, int slot);

// Puts `value` at a dotted key ("ratings.batting.Attack") of a nested object.
void setDotted(Json& object, const std::string& key, Json value);
// The value at a dotted key, or null.
const Json& getDotted(const Json& object, const std::string& key);

} // namespace qb::cli
