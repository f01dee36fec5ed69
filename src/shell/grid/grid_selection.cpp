#include "shell/grid/grid_selection.h"

#include "shell/grid/roster_grid_filter.h"
#include "shell/grid/roster_grid_view.h"

#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>

namespace qb {
namespace {

void distinct(std::vector<int>& values) {
    std::ranges::sort(values);
    const auto [first, last] = std::ranges::unique(values);
    values.erase(first, last);
}

} // namespace

PasteSelection gridSelection(const RosterGridView& view) {
    const QAbstractItemModel& shown = view.filter();
    const QItemSelectionModel& selectionModel = *view.table().selectionModel();
    const std::vector<int> columns = view.shownColumns();
    std::vector<int> place(static_cast<std::size_t>(shown.columnCount()), -1);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        place[static_cast<std::size_t>(columns[i])] = static_cast<int>(i);
    }
    PasteSelection selection;
    selection.rowCount = shown.rowCount();
    selection.columnCount = static_cast<int>(columns.size());
    // The selection's ranges, not its cells: a whole roster selected is some 240,000.
    QItemSelection ranges = selectionModel.selection();
    if (ranges.isEmpty() && selectionModel.currentIndex().isValid()) {
        ranges.select(selectionModel.currentIndex(), selectionModel.currentIndex());
    }
    for (const QItemSelectionRange& range : ranges) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            selection.rows.push_back(row);
        }
        for (int column = range.left(); column <= range.right(); ++column) {
            if (place[static_cast<std::size_t>(column)] >= 0) {
                selection.columns.push_back(place[static_cast<std::size_t>(column)]);
            }
        }
    }
    distinct(selection.rows);
    distinct(selection.columns);
    selection.selected = [&shown, ranges, columns](int row, int column) {
        return ranges.contains(shown.index(row, columns[static_cast<std::size_t>(column)]));
    };
    return selection;
}

} // namespace qb
