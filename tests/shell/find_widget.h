#pragma once

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QString>

namespace qb::test {

// A widget of the window under the object name scripts and the companion know it by;
// a missing one ends the test run at once.
template <typename Widget> Widget* child(const QObject& window, const char* name) {
    auto* found = window.findChild<Widget*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no %s named %s", Widget::staticMetaObject.className(), name);
    }
    return found;
}

} // namespace qb::test
