#pragma once

#include <QStyledItemDelegate>

namespace qb {

// Edits a grid cell with its field's own editor (see createFieldEditor, EditorPlace::Cell): a
// list for a choice, a spin box for a rating (0-63) or a number list (which also takes "+=N" and
// "-=N"), a check box for a flag (three states for Injury Free), a text box for a name, the
// commentary number or a statistic. The value goes back as the text the field takes, so the
// registry checks it.
class FieldDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

signals:
    // Ctrl+Return in an editor: its value is meant for every selected row of its column,
    // as a spreadsheet fills a selection. The editor is closed without a commit.
    void fillSelection(const QString& value);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
};

} // namespace qb
