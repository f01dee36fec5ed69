#include "shell/grid/paste_plan.h"

#include <algorithm>

namespace qb {
namespace {

QString size(std::size_t rows, std::size_t columns) {
    return QStringLiteral("%1 %2 by %3 %4")
        .arg(rows)
        .arg(rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"))
        .arg(columns)
        .arg(columns == 1 ? QStringLiteral("column") : QStringLiteral("columns"));
}

} // namespace

std::vector<QStringList> pasteBlock(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast(); // a spreadsheet ends its block with a line break
    }
    std::vector<QStringList> block;
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        block.push_back(line.split(QLatin1Char('\t')));
    }
    return block;
}

PastePlan planPaste(const std::vector<QStringList>& block, const PasteSelection& selection) {
    PastePlan plan;
    if (block.empty() || selection.rows.empty() || selection.columns.empty()) {
        return plan;
    }
    const std::size_t height = block.size();
    std::size_t width = 0;
    for (const QStringList& line : block) {
        width = std::max(width, static_cast<std::size_t>(line.size()));
    }
    const auto place = [&plan, &block](int row, int column, std::size_t line, std::size_t cell) {
        if (cell < static_cast<std::size_t>(block[line].size())) {
            plan.cells.push_back({row, column, block[line][static_cast<qsizetype>(cell)],
                                  static_cast<int>(line), static_cast<int>(cell)});
        }
    };

    if (selection.rows.size() == 1 && selection.columns.size() == 1) {
        const int top = selection.rows.front();
        const int left = selection.columns.front();
        if (top + static_cast<int>(height) > selection.rowCount ||
            left + static_cast<int>(width) > selection.columnCount) {
            plan.refusal = QStringLiteral("the %1 pasted from the current cell on would run "
                                          "past the end of the grid")
                               .arg(size(height, width));
            return plan;
        }
        for (std::size_t line = 0; line < height; ++line) {
            for (std::size_t cell = 0; cell < width; ++cell) {
                place(top + static_cast<int>(line), left + static_cast<int>(cell), line, cell);
            }
        }
        return plan;
    }

    const std::size_t rows = selection.rows.size();
    const std::size_t columns = selection.columns.size();
    if (height > rows || width > columns) {
        plan.refusal = QStringLiteral("the pasted block is %1, larger than the %2 selected; "
                                      "select one cell to paste it from there")
                           .arg(size(height, width), size(rows, columns));
        return plan;
    }
    const bool repeated = rows % height == 0 && columns % width == 0;
    const std::size_t filledRows = repeated ? rows : height;
    const std::size_t filledColumns = repeated ? columns : width;
    for (std::size_t i = 0; i < filledRows; ++i) {
        for (std::size_t j = 0; j < filledColumns; ++j) {
            const int row = selection.rows[i];
            const int column = selection.columns[j];
            if (!selection.selected(row, column)) {
                plan.cells.clear();
                plan.refusal = QStringLiteral("the selected cells are not one block; select a "
                                              "block of cells, or one cell to paste from there");
                return plan;
            }
            place(row, column, i % height, j % width);
        }
    }
    return plan;
}

} // namespace qb
