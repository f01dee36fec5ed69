#pragma once

#include "player/field_groups.h"
#include "player/roster_document.h"
#include "player/shown_player.h"

#include <vector>

namespace qb {

// The editable fields of the selection whose shown value differs between two players,
// in registry order (the two rates, computed from the figures, are not listed). Players
// are compared as RosterDocument::shownWithEdits shows them: a field that cannot be shown
// differs from any shown value.
std::vector<const Field*> differingFields(const RosterDocument& a, int slotA,
                                          const RosterDocument& b, int slotB,
                                          const FieldSelection& selection = {});

} // namespace qb
