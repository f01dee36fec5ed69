#pragma once

#include "codecs/player_sheet.h"

#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb::cli {

using Json = nlohmann::ordered_json;

// One key of the player object: how its value is read from an editor state (null
// when the window shows nothing) and how a text value is put into one.
struct PlayerField {
    std::string key;
    std::function<Json(const PlayerSheet&)> get;
    // Empty for read-only keys. Throws UsageError naming the key for a bad value.
    std::function<void(PlayerSheet&, std::string_view)> set;
    // Statistics figures belong to one format; every other key to none (-1).
    int format = -1;
    // The range of a numeric field, for relative edits (+= and -=); empty otherwise.
    std::optional<std::pair<int, int>> range;
    bool readOnly() const { return !set; }
};

// A whole number written in decimal digits only ("0010" is 10, never octal), from
// `low` to `high`; nothing for any other text.
std::optional<int> wholeNumber(std::string_view text, int low, int high);

// Every key of the player object in the order of the object and of CSV columns.
// The keys slot, id, commentaryName and errors are filled by the decoder itself.
const std::vector<PlayerField>& playerFields();
const PlayerField* findPlayerField(std::string_view key);

// An editor state whose every control shows nothing: lists -1, sliders and check
// boxes -1, texts empty. Show steps run on it leave unshown fields recognisable.
PlayerSheet unshownState();

} // namespace qb::cli
