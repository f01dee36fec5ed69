#include "shell/edit_command.h"

#include "shell/pages/widgets.h"

namespace qb {

EditCommand::EditCommand(Edit edit, int tab, Show show)
    : edit_(std::move(edit)), tab_(tab), show_(std::move(show)) {
    setText(editText(edit_));
}

void EditCommand::redo() {
    show_(edit_, false, tab_);
}

void EditCommand::undo() {
    show_(edit_, true, tab_);
}

int EditCommand::id() const {
    if (edit_.field->kind != FieldKind::Rating) {
        return -1;
    }
    return static_cast<int>(edit_.field - fieldRegistry().data());
}

bool EditCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const EditCommand*>(other);
    if (next->edit_.slot != edit_.slot || next->edit_.field != edit_.field) {
        return false;
    }
    edit_.after = next->edit_.after;
    setText(editText(edit_));
    return true;
}

StepCommand::StepCommand(const QString& text, std::function<void()> redo,
                         std::function<void()> undo)
    : redo_(std::move(redo)), undo_(std::move(undo)) {
    setText(text);
}

QString editText(const Edit& edit) {
    const Field& field = *edit.field;
    const QString caption = QString::fromStdString(field.caption)
                                .remove(QLatin1Char('&'))
                                .remove(QLatin1Char(':'))
                                .trimmed();
    return caption + QLatin1Char(' ') + cellText(field, edit.before) + QStringLiteral(" → ") +
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
    case FieldKind::NumberList:
        return number >= entries ? QString::number(field.low + number - entries)
               : number >= 0     ? qView(field.choices[static_cast<std::size_t>(number)])
                                 : QStringLiteral("-");
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
