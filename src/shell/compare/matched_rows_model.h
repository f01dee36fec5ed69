#pragma once

#include "shell/compare/roster_comparison.h"

#include <QAbstractProxyModel>
#include <functional>
#include <vector>

namespace qb {

// One side of the compare view: the roster grid of that side's document, its rows put
// in the order of the comparison (row N of both sides shows the two players matched)
// and its cells marked where the matched player shows another value. A row whose
// player is only on the other side is blank.
class MatchedRowsModel : public QAbstractProxyModel {
    Q_OBJECT

public:
    // The field a column of the grid shows; null for the slot, ID and other columns.
    using FieldOfColumn = std::function<const Field*(int column)>;

    MatchedRowsModel(const RosterComparison& comparison, CompareSide side, QAbstractItemModel* grid,
                     FieldOfColumn fieldOf, QObject* parent = nullptr);

    // Shows these rows of the comparison (all, or those that differ).
    void showRows(std::vector<int> rows);
    // The comparison's row shown at `row`.
    int comparedRow(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    // The comparison's rows changed in place: their cells are drawn again.
    void refreshRows(const std::vector<int>& comparedRows);
    // Every row's cells are drawn again.
    void refreshAll();

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    bool differs(const QModelIndex& index) const;
    void sourceChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);

    const RosterComparison& comparison_;
    CompareSide side_;
    FieldOfColumn fieldOf_;
    std::vector<int> rows_; // the comparison's rows shown, in order
};

} // namespace qb
