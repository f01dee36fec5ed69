#include "shell/window_placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace qb {

void placeOnScreen(QWidget& window, const QWidget* over, double share, QSize largest) {
    const QScreen* screen = over != nullptr ? over->screen() : window.screen();
    const QRect area = screen->availableGeometry();
    QSize size(static_cast<int>(area.width() * share), static_cast<int>(area.height() * share));
    if (largest.isValid()) {
        size = size.boundedTo(largest);
    }
    window.resize(size);
    QRect placed(QPoint(), window.size());
    placed.moveCenter(over != nullptr && over->isVisible() ? over->frameGeometry().center()
                                                           : area.center());
    // Kept on the screen: the top left corner last, so the title bar stays reachable.
    placed.moveRight(std::min(placed.right(), area.right()));
    placed.moveBottom(std::min(placed.bottom(), area.bottom()));
    placed.moveLeft(std::max(placed.left(), area.left()));
    placed.moveTop(std::max(placed.top(), area.top()));
    window.move(placed.topLeft());
}

} // namespace qb
