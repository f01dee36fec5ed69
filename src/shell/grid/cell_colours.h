#pragma once

#include <QColor>

namespace qb {

// The backgrounds of cells in the roster grid and the compare view, one meaning each,
// so that a colour says the same in every view (and the compare view's legend).
inline const QColor kUnsavedCell(255, 236, 150);    // yellow: changed, not yet saved
inline const QColor kDifferingCell(190, 218, 255);  // blue: differs from the other roster
inline const QColor kUnshowableCell(255, 200, 200); // red: a player that cannot be shown

} // namespace qb
