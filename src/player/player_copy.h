#pragma once

#include "player/field_groups.h"
#include "player/patch.h"
#include "player/roster_document.h"

#include <vector>

namespace qb {

// A copy that cannot be made: from or into an empty slot. Names the file and slot.
class CopyError : public QuillbayError {
public:
    CopyError(const std::string& description, const std::string& path, int slot)
        : QuillbayError(description, path), slot_(slot) {}
    int slot() const noexcept { return slot_; }

private:
    int slot_;
};

// True when `text` asks for the value the field shows already. A value the field
// would refuse (a 16-character name, a name with a tab) can still be the one shown,
// so a dump applied as it is changes nothing.
bool showsAlready(const Field& field, const PlayerSheet& shown, const std::string& text);

// The selected editable fields of the player in `fromSlot`, with its pending edits,
// as the texts `set` takes; a field it leaves unselected (null) is not among them.
// The player must load (ShowError) and its slot be named (CopyError: copying an empty
// slot's fields would empty or garble the target).
std::vector<FieldEdit> copiedValues(RosterDocument& from, int fromSlot,
                                    const FieldSelection& selection);

// The edits that make the player of `slot` show these values, one per field that shows
// another value now, in registry order; none are applied. When some value differs, the
// slot must hold a player (CopyError, "slot N is empty; use import") that loads
// (ShowError); a value its field refuses throws EditError with the refusal.
std::vector<Edit> editsShowing(RosterDocument& document, int slot,
                               const std::vector<FieldEdit>& values);

// The edits that make `to`'s player show `from`'s values of the selected fields (empty
// when they already do). Apply them with to.apply(edit): exactly what `set` would
// write. Both players must load; an empty target slot is refused with CopyError
// ("slot N is empty; use import"), and so is an empty source slot. The target keeps
// its player ID, which no field holds.
std::vector<Edit> copyEdits(RosterDocument& from, int fromSlot, RosterDocument& to, int toSlot,
                            const FieldSelection& selection);

// Refuses an empty target slot of a copy (CopyError, "slot N is empty; use import").
void requireCopyTarget(const RosterDocument& to, int toSlot);

} // namespace qb
