#pragma once

#include "cli/slot_report.h"
#include "player/edits_file.h"
#include "player/patch.h"
#include "player/roster_document.h"
#include "roster/roster_file.h"
#include "saving/safe_write.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qb::cli {

// A checked edit of one key: an unknown or read-only key, or a value its field does
// not take, throws UsageError with `where` in front of the reason.
FieldEdit checkedEdit(const std::string& key, const std::string& value, const std::string& where);

// KEY=VALUE texts of the command line.
std::vector<FieldEdit> parseAssignments(const std::vector<std::string>& assignments);

// The slot records that edits were computed from, by slot.
using SlotBasis = std::map<int, Record>;

// How edits name their players and what they were computed from.
struct EditBasis {
    // By player ID, each resolved, under the roster's lock, to the one named slot that
    // holds it then.
    MatchBy by = MatchBy::Slot;
    // The record a slot's edits were computed from (bulk); by default what is read under
    // the lock.
    SlotBasis records;
    // A player whose slot no longer has this hash (a row of a dump older than the file)
    // is not written unless forced.
    SlotHashes slotHashes;
};

struct EditResults {
    std::vector<SlotResult> slots;
    std::vector<int> unmatched; // the IDs no named slot held
};

struct EditOptions {
    bool dryRun = false;
    // Setting a named slot's name empty empties the slot (the window's rule); from the
    // command line that needs --yes.
    bool mayEmptyNames = false;
    SafetyOptions safety;
    bool verbose = false; // how the results are printed (slot_report.h)

    ReportStyle style() const { return {dryRun, verbose}; }
};

// Loads each slot as the window does, changes the fields (switching statistics
// formats in order, each switch storing the format left) and stores them as the window
// does. An edit asking for the value a field shows already is no edit (a slot that
// cannot load is refused only when some edit changes it). Every edited field must show
// the value asked for after the store; any failure refuses the whole set before a byte
// is written. Unless it is a dry run, every changed slot is then written in one batch
// (roster/safe_write.h: one journal, all slots or none), and the roster's lock is held
// from the first read to the last write. A slot that no longer holds its basis record
// is a SlotConflict, and one whose dump hash differs is refused, naming every such slot,
// unless forced. A failure says that nothing was written.
EditResults applyEdits(RosterDocument& document, const RosterEdits& edits,
                       const EditOptions& options, EditBasis basis = {});

} // namespace qb::cli
