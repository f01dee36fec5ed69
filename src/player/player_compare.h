#pragma once

#include "player/field_groups.h"
#include "player/roster_document.h"
#include "player/shown_player.h"

#include <vector>

namespace qb {

// The player of a slot as its editors show it, pending edits included (the statistics
// of every format: the one on screen from the editors, the others as the working record
// holds them). A player that fails to load is shown by each show step on its own, as
// `show` does: a field it cannot show is null.
ShownPlayer shownPlayer(RosterDocument& document, int slot);

// The editable fields of the selection whose shown value differs between two players,
// in registry order (the two rates, computed from the figures, are not listed). Players
// that fail to load are compared as shownPlayer shows them: a field that cannot be shown
// differs from any shown value.
std::vector<const Field*> differingFields(RosterDocument& a, int slotA, RosterDocument& b,
                                          int slotB, const FieldSelection& selection = {});

} // namespace qb
