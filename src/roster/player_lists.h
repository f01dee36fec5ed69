#pragma once

#include "roster/roster_file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

struct SlotEntry {
    std::string name;   // empty for an empty slot
    int nationIcon = 0; // 1-14, or 0 for no icon
};

// The two lists of an opened file. `players` is the leading run of named slots
// (entry index = slot index); `slotEntries` has all 1600 slots in order.
struct RosterIndex {
    std::vector<std::string> players;
    std::vector<SlotEntry> slotEntries;
};

RosterIndex buildRosterIndex(const SlotTable& table);

// A 16-bit value with exactly bit k-1 set (k = 1..14) gives k; anything else gives 0.
int BitToIndex(std::uint32_t value);

// True when `text` begins with `prefix`, ignoring case in the game's code page.
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);

// Type-ahead: the first entry from the top that begins with `text`, ignoring case; -1 if none.
int findFirstWithPrefix(const std::vector<std::string>& entries, std::string_view text);

// The slot search over all slots; -1 when `text` is empty or nothing matches.
int findSlotWithPrefix(const RosterIndex& index, std::string_view text);

// The first empty slot after `selected` (from the top when nothing is selected, -1); -1 if none.
int nextEmptySlot(const RosterIndex& index, int selected);

} // namespace qb
