#include "shell/text_box_undo_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace qb {

TextBoxUndoKeys::TextBoxUndoKeys(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

TextBoxUndoKeys::~TextBoxUndoKeys() {
    qApp->removeEventFilter(this);
}

bool TextBoxUndoKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* pressed = static_cast<QKeyEvent*>(event);
        if (const auto* edit = qobject_cast<QLineEdit*>(watched);
            edit != nullptr &&
            ((pressed->matches(QKeySequence::Undo) && !edit->isUndoAvailable()) ||
             (pressed->matches(QKeySequence::Redo) && !edit->isRedoAvailable()))) {
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qb
