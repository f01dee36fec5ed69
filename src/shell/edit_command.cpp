#include "shell/edit_command.h"

#include "shell/pages/widgets.h"

#include <span>

namespace qb {

EditsCommand::EditsCommand(RosterDocument& document, const QString& text, std::vector<Edit> edits,
                           int mergeId)
    : document_(document), edits_(std::move(edits)), mergeId_(mergeId) {
    setText(text);
}

EditsCommand* EditsCommand::editorStep(RosterDocument& document, Edit edit) {
    const QString text = editText(edit);
    return new EditsCommand(document, text, {std::move(edit)}, kEditorStep);
}

// One edit is told to the document's listeners as the change of its field; many as one
// change of the roster.
void EditsCommand::redo() {
    if (edits_.size() == 1) {
        document_.apply(edits_.front());
    } else {
        document_.apply(std::span<const Edit>(edits_));
    }
}

void EditsCommand::undo() {
    if (edits_.size() == 1) {
        document_.revert(edits_.front());
    } else {
        document_.revert(std::span<const Edit>(edits_));
    }
}

bool EditsCommand::mergeWith(const QUndoCommand* other) {
    const auto& next = static_cast<const EditsCommand*>(other)->edits_;
    if (edits_.size() != 1 || next.size() != 1) {
        return false;
    }
    Edit& edit = edits_.front();
    if (next.front().slot != edit.slot || next.front().field != edit.field) {
        return false;
    }
    edit.after = next.front().after;
    setText(editText(edit));
    // A drag, or a list stepped through, away and back again leaves the value where it
    // started: no step is left.
    setObsolete(edit.after == edit.before);
    return true;
}

QString editText(const Edit& edit) {
    return editText(edit, QString::fromStdString(edit.field->caption)
                              .remove(QLatin1Char('&'))
                              .remove(QLatin1Char(':'))
                              .trimmed());
}

QString editText(const Edit& edit, const QString& title) {
    const Field& field = *edit.field;
    return title + QLatin1Char(' ') + cellText(field, edit.before) + QStringLiteral(" → ") +
           cellText(field, edit.after);
}

QString cellText(const Field& field, const CellValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return QString::fromStdString(*text);
    }
    const int number = std::get<int>(value);
    const auto entries = static_cast<int>(field.choices.size());
    switch (field.kind) {
    case FieldKind::Choice:
        return number >= 0 && number < entries
                   ? qView(field.choices[static_cast<std::size_t>(number)])
                   : QStringLiteral("-");
    case FieldKind::NumberList: // the list's entries are the numbers 0..high
        return number >= 0 ? QString::number(number) : QStringLiteral("-");
    case FieldKind::Flag:
    case FieldKind::ThreeState:
        return number == 1   ? QStringLiteral("ticked")
               : number == 2 ? QStringLiteral("greyed")
                             : QStringLiteral("clear");
    default:
        return QString::number(number);
    }
}

} // namespace qb
