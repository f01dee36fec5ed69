#pragma once

#include "player/field_groups.h"
#include "player/player_match.h"
#include "player/player_object.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// A key or value of an edit that cannot be used (an unknown or read-only key, a file
// that is not an array of player objects); says where.
class EditError : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

// One field's new value as text, as `set` takes it.
struct FieldEdit {
    const Field* field = nullptr;
    std::string value;
    // Why the field refuses the value; the refusal holds only when the value is not the
    // one the player shows already (a dump shows 16-character names).
    std::string refusal;
};

// The edit of one key of the player object. An unknown or read-only key throws
// EditError with `where` in front of the reason; a value its field refuses is kept
// with its refusal.
FieldEdit fieldEdit(const std::string& key, const std::string& value, const std::string& where);

// Edits per player (slot or player ID), in that order.
using RosterEdits = std::map<int, std::vector<FieldEdit>>;
// What a dump recorded of the slot it read a player from: the hash cell as the file
// holds it (player/slot_hash.h), and where it stands (file and row and column, or entry).
struct DumpedHash {
    std::string cell;
    std::string where;
};
// Per player (slot or ID), the hash of the slot that a dump read it from.
using SlotHashes = std::map<int, DumpedHash>;

// The deepest a player object nests below the array of players: a player, "statistics",
// "Test", then the figure.
inline constexpr int kPlayerObjectDepth = 3;

// How a patch or an edits file names its players, as `by` says: by "slot", 0 to
// 1599, or by player "id", 0 to 65535. The JSON and the CSV reader both take the
// number and what they say about it from here.
struct PlayerNaming {
    explicit PlayerNaming(MatchBy by);
    // The number a CSV cell or a JSON value names: a whole number from 0 to `highest`;
    // nothing for anything else (a larger or negative number, a fraction, a text).
    std::optional<int> fromText(std::string_view text) const;
    std::optional<int> fromJson(const Json& value) const;
    // What to add when a file read by slot names its `players` (entries, rows) by "id".
    std::string byIdHint(bool namesById, std::string_view players) const;
    // "slot 5 appears more than once".
    std::string repeated(int number) const;

    bool bySlot;
    std::string key;
    int highest;
};

// One player of a patch: its slot or its player ID, and the fields to change.
struct PatchEntry {
    int slotOrId; // a slot or a player ID, as the patch was read (MatchBy)
    std::vector<FieldEdit> edits;
    std::optional<DumpedHash> slotHash; // the slot as a dump read it (kSlotHashKey)
};

// The differences of matched players as a patch: a JSON array (ending in a line
// break) of objects holding "slot" (by slot) or "id" (by ID, B's player ID) and only
// the editable fields whose value differs, with B's values; a field B cannot show has
// no value to carry and is left out. Players that do not differ have
// no entry.
std::string writePatch(RosterDocument& a, RosterDocument& b, const std::vector<PlayerPair>& pairs,
                       MatchBy by, const FieldSelection& selection = {});

// The same differences as a workbook (player/workbook_writer.h) at `path`: a row a player
// that differs, named by "slot" or "id" as the JSON patch names it, a column a field that
// differs for some player, B's value where it differs for that player and an empty cell
// (which apply leaves alone) where it does not.
void writePatchWorkbook(const std::string& path, RosterDocument& a, RosterDocument& b,
                        const std::vector<PlayerPair>& pairs, MatchBy by);

// A JSON array of partial player objects, each naming its player by "slot" (0-1599)
// or "id" (0-65535) as `by` says, each player at most once. Read-only keys are ignored
// (so a dump applies as it is) and a dump's slot hash is kept; null leaves a field alone. Anything
// else unreadable throws EditError naming `path` and the entry. Nesting deeper than a player object
// is refused while the text is read.
std::vector<PatchEntry> readPatch(const std::string& text, const std::string& path, MatchBy by);

// The slot of the one named player of a document holding `id`, from its namedSlotsById;
// nothing when no named player does. An ID that several named slots hold names no one
// player: EditError naming two of the slots and `path`.
std::optional<int> slotHoldingId(const std::map<int, std::vector<int>>& holders, int id,
                                 const std::string& path);

// The edits that make `document` show the patch: players named by slot or by ID (see
// matchPlayers: an ID held by one named slot). The IDs that name no player go to
// `unmatched`. A value a field refuses, where the player does not show it already,
// throws EditError with the refusal (file, entry, key and value); a change to an empty
// slot throws CopyError ("slot N is empty; use import").
std::vector<Edit> patchEdits(RosterDocument& document, const RosterEdits& players, MatchBy by,
                             std::vector<int>& unmatched);

} // namespace qb
