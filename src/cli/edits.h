#pragma once

#include "cli/slot_report.h"
#include "player/edits_file.h"
#include "player/patch.h"
#include "player/roster_document.h"
#include "roster/roster_file.h"
#include "saving/safe_write.h"

#include <map>
#include <optional>
#include <set>
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

// Edits given by the command line or computed by a command: no dump's hashes, no
// read-only cells.
EditsFile editsOf(RosterEdits players, MatchBy by = MatchBy::Slot);

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
    // Slots written even when another program changed them since the dump (--force-slots);
    // --force (safety.force) writes every slot.
    std::set<int> forcedSlots = {};

    ReportStyle style() const { return {dryRun, verbose}; }
};

// Loads each slot as the window does, changes the fields (switching statistics
// formats in order, each switch storing the format left) and stores them as the window
// does. An edit asking for the value a field shows already is no edit (a slot that
// cannot load is refused only when some edit changes it). Every edited field must show
// the value asked for after the store; any failure refuses the whole set before a byte
// is written. Unless it is a dry run, every changed slot is then written in one batch
// (roster/safe_write.h: one journal, all slots or none), and the roster's lock is held
// from the first read to the last write. Players named by ID go to the one named slot
// holding the ID under the lock. A slot that no longer holds its record in `records`
// (what bulk computed from) is a SlotConflict; one whose dump hash differs or is damaged
// (player/dump_check.h) is refused, naming every such slot, unless forced; so is a
// read-only cell that differs from the roster. A failure says that nothing was written.
EditResults applyEdits(RosterDocument& document, EditsFile edits, const EditOptions& options,
                       SlotBasis records = {});

} // namespace qb::cli
