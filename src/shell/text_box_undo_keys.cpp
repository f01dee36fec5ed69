#include "shell/text_box_undo_keys.h"

#include <QApplication>
#include <QComboBox>
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
        // An editable list (the Name box) hands the key to its text box itself, past
        // this filter, so the list's own text box is the one asked.
        const auto* list = qobject_cast<QComboBox*>(watched);
        if (const QLineEdit* edit =
                list != nullptr ? list->lineEdit() : qobject_cast<QLineEdit*>(watched);
            edit != nullptr &&
            ((pressed->matches(QKeySequence::Undo) && !edit->isUndoAvailable()) ||
             (pressed->matches(QKeySequence::Redo) && !edit->isRedoAvailable()))) {
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qb
