#pragma once

#include <QSize>

class QWidget;

namespace qb {

// Sizes a top-level window to `share` of the width and height of the screen area left by
// panels and task bars, at most `largest` where given, and centres it over `over` (the
// window that opens it; the screen's middle without one), kept within that area. Sizes
// are Qt's logical pixels, so at 150 % the share still fits the screen.
void placeOnScreen(QWidget& window, const QWidget* over, double share, QSize largest = {});

} // namespace qb
