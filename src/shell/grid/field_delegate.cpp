#include "shell/grid/field_delegate.h"

#include "shell/editors.h"
#include "shell/grid/roster_grid_model.h"
#include "shell/pages/widgets.h"

#include <QAbstractProxyModel>
#include <QComboBox>
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
    case FieldKind::NumberList: {
        auto* box = new QSpinBox(parent);
        box->setRange(field->low, field->high);
        return box;
    }
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

void FieldDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
    QString value;
    if (auto* list = qobject_cast<QComboBox*>(editor)) {
        value = list->currentText();
    } else if (auto* box = qobject_cast<QSpinBox*>(editor)) {
        value = QString::number(box->value());
    } else if (auto* threeState = qobject_cast<ThreeStateBox*>(editor)) {
        value = QString::number(threeState->state());
    } else if (auto* check = qobject_cast<QCheckBox*>(editor)) {
        value = check->isChecked() ? QStringLiteral("true") : QStringLiteral("false");
    } else if (auto* text = qobject_cast<QLineEdit*>(editor)) {
        value = text->text();
    }
    model->setData(index, value, Qt::EditRole);
}

} // namespace qb
