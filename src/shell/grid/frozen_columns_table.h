#pragma once

#include <QTableView>

namespace qb {

// A table whose first columns stay in place while the others scroll sideways, as a
// spreadsheet freezes panes: a second view of the same model and selection lies over
// them and shows only those columns. Its rows scroll with the table's, its columns keep
// the table's widths and hidden columns, its header sorts the table, and its cells are
// edited there, where they are seen; the keyboard focus stays with the table.
class FrozenColumnsTable : public QTableView {
    Q_OBJECT

public:
    explicit FrozenColumnsTable(int frozenColumns, QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    // The view over the frozen columns, to give it the table's delegate and settings.
    QTableView& frozenView() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    class FrozenView;

    int frozenWidth() const;
    void placeFrozenView();
    void followColumn(int column, int size);
    // Scrolls sideways so that the cell is not under the frozen columns.
    void uncover(const QModelIndex& index);

    int frozenColumns_;
    FrozenView* frozen_;
};

} // namespace qb
