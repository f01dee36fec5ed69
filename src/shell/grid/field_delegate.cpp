#include "shell/grid/field_delegate.h"

#include "shell/field_editor.h"
#include "shell/grid/roster_grid_model.h"

#include <QAbstractProxyModel>
#include <QKeyEvent>

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
    return field != nullptr ? createFieldEditor(*field, EditorPlace::Cell, parent)
                            : QStyledItemDelegate::createEditor(parent, option, index);
}

void FieldDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    showEditorText(editor, index.data(Qt::EditRole).toString());
}

void FieldDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
    model->setData(index, editorText(editor), Qt::EditRole);
}

bool FieldDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    const auto* key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
    if (editor == nullptr || key == nullptr || !key->modifiers().testFlag(Qt::ControlModifier) ||
        (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)) {
        return QStyledItemDelegate::eventFilter(object, event);
    }
    const QString value = editorText(editor);
    emit closeEditor(editor, NoHint);
    emit fillSelection(value);
    return true;
}

} // namespace qb
