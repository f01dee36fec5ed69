#pragma once

#include "shell/grid/paste_plan.h"

namespace qb {

class RosterGridView;

// The view's selected cells as a paste sees them: rows as shown, columns by their place
// among the columns shown. With nothing selected, the current cell stands for the
// selection.
PasteSelection gridSelection(const RosterGridView& view);

} // namespace qb
