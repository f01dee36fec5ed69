#pragma once

#include "player/roster_document.h"

#include <QUndoCommand>
#include <functional>

namespace qb {

// One change a user made to one field of one player, as a step of the open roster's
// undo history: redo applies the edit to the document, undo reverts it. Steps of one
// slider of one player in a row (a drag, repeated keys) merge into one.
class EditCommand : public QUndoCommand {
public:
    // Applies (`reverted` false) or reverts the edit in the document and brings its
    // player and the tab it was made on back on screen.
    using Show = std::function<void(const Edit& edit, bool reverted, int tab)>;

    EditCommand(Edit edit, int tab, Show show);

    void redo() override;
    void undo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

    const Edit& edit() const { return edit_; }

private:
    Edit edit_;
    int tab_;
    Show show_;
};

// A step of the history made of two actions: what the roster grid does to the document
// (a cell, a bulk set or a paste applied as one change, a repair) and what takes it back.
class StepCommand : public QUndoCommand {
public:
    StepCommand(const QString& text, std::function<void()> redo, std::function<void()> undo);

    void redo() override { redo_(); }
    void undo() override { undo_(); }

private:
    std::function<void()> redo_;
    std::function<void()> undo_;
};

// "Attack 40 → 45": the field's caption, its value before and after.
QString editText(const Edit& edit);

// A field's raw editor value as a user reads it: a list's entry, a box's state, a number.
QString cellText(const Field& field, const CellValue& value);

} // namespace qb
