#include "shell/list_opener.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace qb {

ListOpener::ListOpener(QComboBox* list) : QObject(list), list_(list) {
    list->installEventFilter(this);
    if (list->lineEdit() != nullptr) {
        list->lineEdit()->installEventFilter(this);
    }
}

bool ListOpener::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool arrow = key->key() == Qt::Key_Down || key->key() == Qt::Key_Up;
    if (key->key() == Qt::Key_F4 || (arrow && (key->modifiers() & Qt::AltModifier))) {
        return true;
    }
    if (key->key() == Qt::Key_Down) {
        list_->showPopup();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qb
