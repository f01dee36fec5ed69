#include "shell/compare/matched_rows_model.h"

#include "shell/grid/cell_colours.h"

#include <QBrush>
#include <algorithm>

namespace qb {

MatchedRowsModel::MatchedRowsModel(const RosterComparison& comparison, CompareSide side,
                                   QAbstractItemModel* grid, FieldOfColumn fieldOf, QObject* parent)
    : QAbstractProxyModel(parent), comparison_(comparison), side_(side),
      fieldOf_(std::move(fieldOf)) {
    setSourceModel(grid);
    connect(grid, &QAbstractItemModel::dataChanged, this, &MatchedRowsModel::sourceChanged);
    connect(grid, &QAbstractItemModel::modelReset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(grid, &QAbstractItemModel::headerDataChanged, this,
            &QAbstractItemModel::headerDataChanged);
}

void MatchedRowsModel::showRows(std::vector<int> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void MatchedRowsModel::refreshRows(const std::vector<int>& comparedRows) {
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (std::find(comparedRows.begin(), comparedRows.end(), rows_[row]) != comparedRows.end()) {
            const int shown = static_cast<int>(row);
            emit dataChanged(index(shown, 0), index(shown, columnCount() - 1));
        }
    }
}

void MatchedRowsModel::refreshAll() {
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

QModelIndex MatchedRowsModel::index(int row, int column, const QModelIndex& parent) const {
    return parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount()
               ? QModelIndex()
               : createIndex(row, column);
}

QModelIndex MatchedRowsModel::parent(const QModelIndex&) const {
    return {};
}

int MatchedRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int MatchedRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : sourceModel()->columnCount();
}

QModelIndex MatchedRowsModel::mapToSource(const QModelIndex& proxyIndex) const {
    if (!proxyIndex.isValid()) {
        return {};
    }
    const int slot =
        comparison_.rows()[static_cast<std::size_t>(comparedRow(proxyIndex.row()))].slot(side_);
    return slot < 0 ? QModelIndex() : sourceModel()->index(slot, proxyIndex.column());
}

QModelIndex MatchedRowsModel::mapFromSource(const QModelIndex& sourceIndex) const {
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (comparison_.rows()[static_cast<std::size_t>(rows_[row])].slot(side_) ==
            sourceIndex.row()) {
            return index(static_cast<int>(row), sourceIndex.column());
        }
    }
    return {};
}

bool MatchedRowsModel::differs(const QModelIndex& index) const {
    const ComparedRow& row = comparison_.rows()[static_cast<std::size_t>(comparedRow(index.row()))];
    const Field* field = fieldOf_(index.column());
    return field != nullptr &&
           std::find(row.differing.begin(), row.differing.end(), field) != row.differing.end();
}

QVariant MatchedRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::BackgroundRole && differs(index)) {
        return QBrush(kDifferingCell);
    }
    const QModelIndex source = mapToSource(index);
    return source.isValid() ? sourceModel()->data(source, role) : QVariant();
}

QVariant MatchedRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        return sourceModel()->headerData(section, orientation, role);
    }
    return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
}

Qt::ItemFlags MatchedRowsModel::flags(const QModelIndex& index) const {
    const QModelIndex source = mapToSource(index);
    return source.isValid() ? sourceModel()->flags(source) : Qt::ItemIsEnabled;
}

void MatchedRowsModel::sourceChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight) {
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const int slot = comparison_.rows()[static_cast<std::size_t>(rows_[row])].slot(side_);
        if (slot >= topLeft.row() && slot <= bottomRight.row()) {
            const int shown = static_cast<int>(row);
            emit dataChanged(index(shown, topLeft.column()), index(shown, bottomRight.column()));
        }
    }
}

} // namespace qb
