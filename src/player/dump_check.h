#pragma once

#include "player/edits_file.h"
#include "roster/roster_file.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// A dump records, per player, a hash of the slot's 348 bytes as it read them, so that a
// row of an older dump is not applied over another program's later change. It is
// written as "qb" and 16 hex digits, a text no spreadsheet takes for a number, a date or
// a formula: bare hex digits came back from spreadsheets without their leading zeros
// ("0051656660264484" as 51656660264484) or as a number with an exponent
// ("82002224e1834540" as 1.79769313486232E+308).
std::string slotHash(const Record& record);

// The hash a cell holds, in that form or in the bare 16 hex digits older dumps wrote;
// nothing for any other text (a spreadsheet changed it). Case is ignored.
std::optional<std::uint64_t> readSlotHash(std::string_view cell);

// What the dump's hashes say about the slots an edits file would change.
struct DumpCheck {
    std::vector<int> changed;         // slots whose bytes are not those the dump read
    std::vector<int> damaged;         // slots whose hash cell holds no hash
    std::vector<std::string> damages; // for each: where, and what the cell holds
    bool passed() const { return changed.empty() && damaged.empty(); }
};

// Checks `slots` (keyed as `hashes` are, by slot) against `table` as the file holds them
// now: a slot without a hash is not checked, nor is one in `forced` (the user chose to
// overwrite it). The one decision of every front end that applies an edits file.
DumpCheck checkAgainstDump(const SlotTable& table, const SlotHashes& hashes,
                           const std::vector<int>& slots, const std::set<int>& forced);

// "slots 3 (Player3), 17 (Player17) changed since the dump", naming every slot, and a
// line for each damaged hash cell; each front end adds how to go on.
std::string dumpCheckText(const DumpCheck& check, const SlotTable& table);

// The read-only cells of `file` (keyed by slot) that differ from what `table` shows of
// their slots, each as "players.csv: row 4: column strikeRate: read-only; slot 3 shows
// 45.2, the file 50". Figures are compared as numbers, since a spreadsheet may write them
// in another form ("45.20" as 45.2). Slots whose dump hash says they changed since the dump,
// where the cells rightly differ, are left out.
std::vector<std::string> changedReadOnlyCells(const SlotTable& table, const EditsFile& file);

} // namespace qb
