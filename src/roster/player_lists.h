#pragma once

#include "roster/roster_file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// One slot of the slot list. The name stays in the slot table as the game stores it
// (Windows-1252 bytes, up to 16, ending at the first zero byte) and is converted to
// UTF-8 only when a list or caller asks for it.
struct SlotEntry {
    std::string_view rawName; // empty for an empty slot
    int nationIcon = 0;       // 1-14, or 0 for no icon
    std::string name() const;
};

// The two lists of an opened file, as views into the slot table they were built from,
// which must outlive them. `slotEntries` has all 1600 slots in order (none before a file
// is opened); the player list is its first `playerCount` entries, the leading run of
// named slots (entry index = slot index).
struct RosterIndex {
    std::vector<SlotEntry> slotEntries;
    std::size_t playerCount = 0;
};

RosterIndex buildRosterIndex(const SlotTable& table);
RosterIndex buildRosterIndex(const SlotTable&& table) = delete; // the views would dangle

// A 16-bit value with exactly bit k-1 set (k = 1..14) gives k; anything else gives 0.
int singleBitIndex(std::uint32_t value);

// Type-ahead in the player list: the first player from the top whose name begins with
// `text`, ignoring case; -1 if none.
int findPlayerWithPrefix(const RosterIndex& index, std::string_view text);

// The slot search over all slots; -1 when `text` is empty or nothing matches.
int findSlotWithPrefix(const RosterIndex& index, std::string_view text);

// The first empty slot after `selected` (from the top when nothing is selected, -1); -1 if none.
int nextEmptySlot(const RosterIndex& index, int selected);

} // namespace qb
