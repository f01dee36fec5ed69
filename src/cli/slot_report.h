#pragma once

#include "roster/layout.h"

#include <optional>
#include <string>
#include <vector>

namespace qb::cli {

// One field a command changes: its key and its value before and after, as text.
struct FieldChange {
    std::string key;
    std::string before;
    std::string after;
};

// What saving one slot did, or would do: no offsets when no field changed. The records
// are the slot before and after; the fields are named from them when printed, unless
// the command names them itself (repair names the values stored, which no editor shows).
struct SlotResult {
    int slot;
    std::vector<int> written;
    Record before{};
    Record after{};
    std::optional<std::vector<FieldChange>> changes = std::nullopt;
};

// The fields whose values, as `show` gives them, differ between two records, in the
// order of the player object, each value as JSON writes it ("Ann", 50, true, null).
std::vector<FieldChange> fieldChanges(const Record& before, const Record& after);

// A dry run names the fields it would change instead of the offsets it would write;
// --verbose adds the other half, and in a batch the slots that do not change.
struct ReportStyle {
    bool dryRun = false;
    bool verbose = false;
};

// The lines of one slot, in this order where they apply:
//   slot 3: would change name "Ann" -> "Bea", ratings.batting.Accuracy 50 -> 60   (dry run)
//   slot 3: would write 4 5 6 93                                                  (dry run,
//   verbose) slot 3: changed name "Ann" -> "Bea", ratings.batting.Accuracy 50 -> 60 (verbose) slot
//   3: wrote 4 5 6 93 slot 3: no change
// Bytes that no field covers are named after the fields ("bytes no field covers 150").
void printSlot(const SlotResult& result, const ReportStyle& style);

// The slots of a batch that change (verbose: every slot), then one line: "600 slots
// matched, 43 changed" ("would change" on a dry run).
void printBatch(const std::vector<SlotResult>& results, const ReportStyle& style);

} // namespace qb::cli
