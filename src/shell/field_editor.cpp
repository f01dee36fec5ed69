#include "shell/field_editor.h"

#include "shell/editors.h"
#include "shell/pages/widgets.h"

#include <QComboBox>
#include <QLineEdit>

namespace qb {
namespace {

QComboBox* listOf(const Field& field, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setEditable(false);
    for (const std::string_view entry : field.choices) {
        list->addItem(qView(entry));
    }
    return list;
}

// A page's list holds the field's named entries, then its numbers; filling it selects its
// first entry, while nothing is selected until a player is shown.
QComboBox* pageListOf(const Field& field, QWidget* parent) {
    QComboBox* list = listOf(field, parent);
    if (field.kind == FieldKind::NumberList) {
        for (int number = field.low; number <= field.high; ++number) {
            list->addItem(QString::number(number));
        }
    }
    list->setCurrentIndex(-1);
    return list;
}

QLineEdit* textBoxOf(const Field& field, EditorPlace place, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    if (place == EditorPlace::Cell) {
        return box;
    }
    if (field.readOnly()) {
        box->setReadOnly(true);
    } else if (field.kind != FieldKind::Text) {
        digitsOnly(box);
    }
    return box;
}

// A plain check box: a flag's, not Injury Free's box of three states.
const QCheckBox* flagBox(const QWidget* editor) {
    return qobject_cast<const ThreeStateBox*>(editor) != nullptr
               ? nullptr
               : qobject_cast<const QCheckBox*>(editor);
}

} // namespace

QWidget* createFieldEditor(const Field& field, EditorPlace place, QWidget* parent) {
    const bool page = place == EditorPlace::Page;
    const QString caption = page ? QString::fromStdString(field.caption) : QString();
    switch (field.kind) {
    case FieldKind::Choice:
        return page ? pageListOf(field, parent) : listOf(field, parent);
    case FieldKind::NumberList:
        return page ? static_cast<QWidget*>(pageListOf(field, parent))
                    : new RelativeSpinBox(field, parent);
    case FieldKind::Rating:
        return page ? static_cast<QWidget*>(new RatingSlider(parent))
                    : new RelativeSpinBox(field, parent);
    case FieldKind::Flag:
        return new QCheckBox(caption, parent);
    case FieldKind::ThreeState:
        return new ThreeStateBox(caption, parent);
    default:
        return textBoxOf(field, place, parent);
    }
}

void showEditorValue(QWidget* editor, const CellValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        qobject_cast<QLineEdit*>(editor)->setText(QString::fromStdString(*text));
        return;
    }
    const int number = std::get<int>(value);
    if (auto* box = qobject_cast<ThreeStateBox*>(editor)) {
        box->setState(number);
    } else if (auto* flag = qobject_cast<QCheckBox*>(editor)) {
        flag->setChecked(number == 1);
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(editor)) {
        slider->setValue(number);
    } else if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
        spin->setValue(number);
    } else {
        qobject_cast<QComboBox*>(editor)->setCurrentIndex(number);
    }
}

CellValue editorValue(const QWidget* editor) {
    if (const auto* box = qobject_cast<const QLineEdit*>(editor)) {
        return box->text().toStdString();
    }
    if (const auto* box = qobject_cast<const ThreeStateBox*>(editor)) {
        return box->state();
    }
    if (const auto* flag = qobject_cast<const QCheckBox*>(editor)) {
        return flag->isChecked() ? 1 : 0;
    }
    if (const auto* slider = qobject_cast<const QAbstractSlider*>(editor)) {
        return slider->value();
    }
    if (const auto* spin = qobject_cast<const QSpinBox*>(editor)) {
        return spin->value();
    }
    return qobject_cast<const QComboBox*>(editor)->currentIndex();
}

void showEditorText(QWidget* editor, const QString& text) {
    if (auto* list = qobject_cast<QComboBox*>(editor)) {
        list->setCurrentIndex(list->findText(text));
    } else if (auto* box = qobject_cast<QLineEdit*>(editor)) {
        box->setText(text);
    } else if (flagBox(editor) != nullptr) {
        showEditorValue(editor, text == QLatin1String("true") ? 1 : 0);
    } else {
        showEditorValue(editor, text.toInt());
    }
}

QString editorText(const QWidget* editor) {
    if (const auto* list = qobject_cast<const QComboBox*>(editor)) {
        return list->currentText();
    }
    if (const auto* box = qobject_cast<const QLineEdit*>(editor)) {
        return box->text();
    }
    if (const auto* spin = qobject_cast<const RelativeSpinBox*>(editor);
        spin != nullptr && !spin->relativeText().isEmpty()) {
        return spin->relativeText();
    }
    if (const QCheckBox* flag = flagBox(editor)) {
        return flag->isChecked() ? QStringLiteral("true") : QStringLiteral("false");
    }
    return QString::number(std::get<int>(editorValue(editor)));
}

} // namespace qb
