#pragma once

#include "player/roster_document.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qb {

enum class MatchBy { Slot, Id };

struct PlayerPair {
    int left;
    int right;
};

// The named slots of two rosters paired up; the slots of either side without a
// partner are listed apart. All three lists are in slot order (pairs by left slot).
struct PlayerMatching {
    std::vector<PlayerPair> pairs;
    std::vector<int> leftOnly, rightOnly;
};

// By slot: the slots named in both files. By ID: the named slots holding the same
// player ID wherever they sit. An ID that more than one named slot of a file holds
// names no one player, so none of the slots holding it is paired: copying into the
// wrong one of two namesakes would overwrite a player the user did not choose.
PlayerMatching matchPlayers(const RosterDocument& left, const RosterDocument& right, MatchBy by);

// The player ID stored in a slot of the document's table.
int playerId(const RosterDocument& document, int slot);

// Each player ID of the document's named slots, with the slots holding it in order.
std::map<int, std::vector<int>> namedSlotsById(const RosterDocument& document);

// Why an ID of a matching by ID names no one player of the document: "ID 1003 is held by
// slots 4 and 9 of dupB.pak"; nothing when at most one named slot holds it.
std::optional<std::string> sharedIdText(const RosterDocument& document, int id);
// The same, from a document's namedSlotsById and its path.
std::optional<std::string> sharedIdText(const std::map<int, std::vector<int>>& holders, int id,
                                        const std::string& path);

} // namespace qb
