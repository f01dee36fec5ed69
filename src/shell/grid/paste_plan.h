#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace qb {

// Pasted text as a spreadsheet copies it: lines of tab-separated cells, the line break
// after the last line and a "\r" before each break left out.
std::vector<QStringList> pasteBlock(const QString& text);

// Where a paste may go, in the grid as shown: rows in the view's order (filtered and
// sorted), columns by their place among the columns shown, left to right.
struct PasteSelection {
    std::vector<int> rows;    // the rows holding a selected cell, top to bottom
    std::vector<int> columns; // the columns holding a selected cell, left to right
    std::function<bool(int row, int column)> selected;
    int rowCount = 0; // of the grid as shown
    int columnCount = 0;
};

struct PastePlacement {
    int row = 0;
    int column = 0;
    QString value;
    int line = 0; // where the value stands in the block, counted from 0
    int cell = 0;
};

// Where each value of a pasted block goes, the way spreadsheets paste:
// - one cell selected: the block starts there and runs right over the columns shown
//   and down the rows shown;
// - more cells selected: the block starts at the selection's top-left cell and never
//   leaves the selection; a block that fits the selection a whole number of times
//   (a single value always does) is repeated to fill it.
// Empty values are placed too: the caller decides what an empty cell means. A block
// that does not fit is refused with the reason, and nothing is placed.
struct PastePlan {
    std::vector<PastePlacement> cells;
    QString refusal;
};
PastePlan planPaste(const std::vector<QStringList>& block, const PasteSelection& selection);

} // namespace qb
