#pragma once

#include <QApplication>

namespace qb {

// Shows the wait pointer until the end of the scope, also when it is left by a failure.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace qb
