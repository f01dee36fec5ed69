#pragma once

#include "player/roster_document.h"

#include <QString>
#include <vector>

namespace qb {

// What applying an edits file or patch would change, for the user to confirm: each player it
// changes (name and slot) with its fields' values before and after, and the player IDs the patch
// names that the roster does not hold.
QString patchPreview(const RosterDocument& document, const std::vector<Edit>& edits,
                     const std::vector<int>& unmatchedIds);

} // namespace qb
