#pragma once

#include "cli/player_fields.h"
#include "roster/layout.h"

#include <array>
#include <string>
#include <vector>

namespace qb::cli {

struct FieldFailure {
    std::string field;
    std::string message;
};

// What the window shows of a record, each show step run on its own from an editor
// state that shows nothing: the identity, roles, flags and ratings, the statistics of
// each format, and the failure of every step that could not show its field.
struct DecodedPlayer {
    PlayerSheet shown;
    std::array<PlayerSheet, 4> formats;
    std::vector<FieldFailure> failures;
};
// Without `statistics`, the four formats' states are left unshown (and their failures
// unreported), for callers that read no statistics figure.
DecodedPlayer decodeStates(const Record& record, bool statistics = true);
// The state that shows `field`: its format's for a statistics figure.
const PlayerSheet& shownState(const DecodedPlayer& decoded, const PlayerField& field);

// The value of one key of the player object of `record`, decoded as `decoded`.
Json playerValue(const Record& record, int slot, const DecodedPlayer& decoded,
                 const PlayerField& field);

// A slot decoded as the window would show it, as the player object. Every show step
// runs on its own, so one field the window cannot show does not hide the others;
// statistics are shown for all four formats. Never changes the record.
Json decodePlayer(const Record& record, int slot);

// A value as text: strings as they are, numbers and flags as JSON writes them, null empty.
std::string valueText(const Json& value);

// Puts `value` at a dotted key ("ratings.batting.Attack") of a nested object.
void setDotted(Json& object, const std::string& key, Json value);
// The value at a dotted key, or null.
const Json& getDotted(const Json& object, const std::string& key);

} // namespace qb::cli
