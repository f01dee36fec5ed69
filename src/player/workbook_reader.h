#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qb {

// The cells of a workbook's sheet as texts, from its keys row down.
struct WorkbookTable {
    std::string sheet;                          // "Players"
    std::vector<std::vector<std::string>> rows; // the keys row first
    std::vector<std::size_t> rowNumbers;        // each row's number on the sheet (1-based)
};

// "A", "Z", "AA": a column (from 0) as both spreadsheets name it.
std::string columnLetters(std::size_t column);

// "Players!H12": a cell of `table` as both spreadsheets name it.
std::string cellName(const WorkbookTable& table, std::size_t row, std::size_t column);

// Reads the first sheet of an XLSX workbook (zip parts read with minizip, XML with
// expat) that has a "slot" or "id" cell in one of its first rows: that row is the keys
// row, the rows above it (titles) are left out, and so are empty rows. Cells are texts
// as the CSV reader gives them: numbers in their shortest form ("45", "12.5"),
// booleans "true" or "false", shared and inline strings as they are, a formula's cached
// value. A cell holding an error value, or a formula without a cached value, throws
// EditError naming the cell ("Players!H12"); a file that is no workbook throws
// WorkbookError naming `path`.
WorkbookTable readWorkbookTable(std::string_view bytes, const std::string& path);

} // namespace qb
