#pragma once

#include "cli/player_fields.h"
#include "roster/roster_file.h"
#include "roster/safe_write.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qb::cli {

struct FieldEdit {
    const PlayerField* field;
    std::string value;
};

// Edits per slot, in slot order.
using RosterEdits = std::map<int, std::vector<FieldEdit>>;

// A checked edit of one key: an unknown or read-only key, or a value its field does
// not take, throws UsageError with `where` in front of the reason.
FieldEdit checkedEdit(const std::string& key, const std::string& value, const std::string& where);

// KEY=VALUE texts of the command line.
std::vector<FieldEdit> parseAssignments(const std::vector<std::string>& assignments);

// Edits from a JSON array of partial player objects, each with "slot". Read-only
// keys are ignored (so a dump can be applied as it is); null leaves a field alone.
RosterEdits parseJsonEdits(const std::string& text, const std::string& path);

// Edits from CSV rows under a header of keys, with a "slot" column. An empty cell
// and a read-only column leave the field alone; a missing column leaves it alone too.
RosterEdits parseCsvEdits(const std::string& text, const std::string& path);

// What saving one slot did: nothing when no field changed, else the offsets written.
struct SlotResult {
    int slot;
    std::optional<std::vector<int>> written;
};

// The slot records that edits were computed from, by slot.
using SlotBasis = std::map<int, Record>;

// Loads each slot as the window does, changes the fields (switching statistics
// formats in order, each switch storing the format left) and saves as the window
// does. Every slot is first tried without writing; any failure refuses the whole set
// before a byte is written. Unless it is a dry run, the roster's lock is held from
// the first read to the last write. A slot that no longer holds its `basis` record
// (default: what the trial read) is a SlotConflict unless forced. A failure part-way
// says which slots were written and which were not.
std::vector<SlotResult> applyEdits(const RosterFile& roster, const RosterEdits& edits, bool dryRun,
                                   const SafetyOptions& safety, SlotBasis basis = {});

// "slot 5: wrote 108 109" or "slot 5: no change".
std::string describe(const SlotResult& result);

} // namespace qb::cli
