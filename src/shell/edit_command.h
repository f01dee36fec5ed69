#pragma once

#include "player/roster_document.h"

#include <QUndoCommand>
#include <vector>

namespace qb {

// A step of a roster's undo history: edits of its document (the editors' change of one
// field, a grid's cell, bulk set or paste, a compare copy, an edits file, a repair).
// Redo applies them in order and undo reverts them last first, each through the
// document, whose listeners show what changed. The merge id names the kind of step: the
// editors' steps of one field of one player in a row (a slider dragged, a list stepped
// through with the arrow keys, a box edited again) merge into one, which the history
// drops when it leaves the value where it started; steps of id -1 never merge. A step
// saved since (the history's clean state) takes no more merges.
class EditsCommand : public QUndoCommand {
public:
    static constexpr int kNoMerge = -1;
    static constexpr int kEditorStep = 1;

    EditsCommand(RosterDocument& document, const QString& text, std::vector<Edit> edits,
                 int mergeId = kNoMerge);
    // The editors' change of one field of their player, titled by editText.
    static EditsCommand* editorStep(RosterDocument& document, Edit edit);

    void redo() override;
    void undo() override;
    int id() const override { return mergeId_; }
    bool mergeWith(const QUndoCommand* other) override;

    const std::vector<Edit>& edits() const { return edits_; }

private:
    RosterDocument& document_;
    std::vector<Edit> edits_;
    int mergeId_;
};

// "Attack 40 → 45": the field's caption, its value before and after.
QString editText(const Edit& edit);
// The same under another title ("Bowling: Accuracy 40 → 45").
QString editText(const Edit& edit, const QString& title);

// A field's raw editor value as a user reads it: a list's entry, a box's state, a number.
QString cellText(const Field& field, const CellValue& value);

} // namespace qb
