#include "shell/grid/field_delegate.h"

#include "player/relative_edit.h"
#include "shell/editors.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/pages/widgets.h"

#include <QAbstractProxyModel>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>

namespace qb {
namespace {

const Field* fieldOf(const QModelIndex& index) {
    const QAbstractItemModel* model = index.model();
    while (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(model)) {
        model = proxy->sourceModel();
    }
    const auto* grid = qobject_cast<const RosterGridModel*>(model);
    return grid != nullptr ? grid->field(index.column()) : nullptr;
}

// A rating's or a number list's box that also takes "+=N" and "-=N" typed into it, as
// the bulk dialog does: the model moves the number shown by N (see
// RosterGridModel::typedEdit). Anything else is a number in the box's range.
class RelativeSpinBox : public QSpinBox {
public:
    RelativeSpinBox(const Field& field, QWidget* parent) : QSpinBox(parent), field_(field) {
        setRange(field.low, field.high);
        // Kept as typed: on Return the box puts its number back before the delegate
        // reads what was typed.
        connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
            const QString typed = text.trimmed();
            relative_ = typedStep(field_, typed.toStdString()) ? typed : QString();
        });
    }

    // The relative edit typed, or nothing when the box holds a number.
    const QString& relativeText() const { return relative_; }

protected:
    QValidator::State validate(QString& input, int& pos) const override {
        const QString typed = input.trimmed();
        if (!typed.startsWith(QLatin1Char('+')) && !typed.startsWith(QLatin1Char('-'))) {
            return QSpinBox::validate(input, pos);
        }
        if (typedStep(field_, typed.toStdString())) {
            return QValidator::Acceptable;
        }
        // "+", "-=", "+= " on the way to a relative edit.
        return typed.size() == 1 || typed == QLatin1String("+=") || typed == QLatin1String("-=")
                   ? QValidator::Intermediate
                   : QValidator::Invalid;
    }
    int valueFromText(const QString& text) const override {
        return relative_.isEmpty() ? QSpinBox::valueFromText(text) : value();
    }

private:
    const Field& field_;
    QString relative_;
};

} // namespace

QWidget* FieldDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    const Field* field = fieldOf(index);
    if (field == nullptr) {
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
    switch (field->kind) {
    case FieldKind::Choice: {
        auto* list = new QComboBox(parent);
        for (const std::string_view entry : field->choices) {
            list->addItem(qView(entry));
        }
        return list;
    }
    case FieldKind::Rating:
    case FieldKind::NumberList:
        return new RelativeSpinBox(*field, parent);
    case FieldKind::Flag:
        return new QCheckBox(parent);
    case FieldKind::ThreeState:
        return new ThreeStateBox(QString(), parent);
    default:
        return new QLineEdit(parent);
    }
}

void FieldDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString value = index.data(Qt::EditRole).toString();
    if (auto* list = qobject_cast<QComboBox*>(editor)) {
        list->setCurrentIndex(list->findText(value));
    } else if (auto* box = qobject_cast<QSpinBox*>(editor)) {
        box->setValue(value.toInt());
    } else if (auto* threeState = qobject_cast<ThreeStateBox*>(editor)) {
        threeState->setState(value.toInt());
    } else if (auto* check = qobject_cast<QCheckBox*>(editor)) {
        check->setChecked(value == QLatin1String("true"));
    } else if (auto* text = qobject_cast<QLineEdit*>(editor)) {
        text->setText(value);
    }
}

QString FieldDelegate::editorValue(const QWidget* editor) {
    if (const auto* list = qobject_cast<const QComboBox*>(editor)) {
        return list->currentText();
    }
    if (const auto* box = dynamic_cast<const RelativeSpinBox*>(editor)) {
        return box->relativeText().isEmpty() ? QString::number(box->value()) : box->relativeText();
    }
    if (const auto* threeState = qobject_cast<const ThreeStateBox*>(editor)) {
        return QString::number(threeState->state());
    }
    if (const auto* check = qobject_cast<const QCheckBox*>(editor)) {
        return check->isChecked() ? QStringLiteral("true") : QStringLiteral("false");
    }
    if (const auto* text = qobject_cast<const QLineEdit*>(editor)) {
        return text->text();
    }
    return {};
}

void FieldDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
    model->setData(index, editorValue(editor), Qt::EditRole);
}

bool FieldDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    const auto* key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
    if (editor == nullptr || key == nullptr || !key->modifiers().testFlag(Qt::ControlModifier) ||
        (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)) {
        return QStyledItemDelegate::eventFilter(object, event);
    }
    const QString value = editorValue(editor);
    emit closeEditor(editor, NoHint);
    emit fillSelection(value);
    return true;
}

} // namespace qb
