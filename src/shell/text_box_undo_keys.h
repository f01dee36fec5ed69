#pragma once

#include <QObject>

namespace qb {

// A text box takes Ctrl+Z and Ctrl+Shift+Z for its own typing; with nothing of its own
// to undo or redo it lets them through to the windows' Undo and Redo. Watches every
// text box of the application, the text boxes of editable lists among them.
class TextBoxUndoKeys : public QObject {
    Q_OBJECT

public:
    explicit TextBoxUndoKeys(QObject* parent);
    ~TextBoxUndoKeys() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace qb
