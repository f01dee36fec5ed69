#pragma once

#include <QIcon>
#include <QPixmap>

namespace qb {

// Pictures drawn by the program itself: the 14 nation flags (30 x 20, in the order of
// the nation list), the window icon and the fan site's logo (132 x 123).
QPixmap nationFlag(int entry); // entry 0-13
QIcon windowIcon();
QPixmap siteLogo();

} // namespace qb
