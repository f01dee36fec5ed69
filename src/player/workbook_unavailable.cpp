// A build without the workbook libraries (the Windows cross build) refuses XLSX files
// with a message that says so, instead of leaving the format out of the commands.
#include "player/workbook_reader.h"
#include "player/workbook_writer.h"

namespace qb {
namespace {

WorkbookError unavailable(const std::string& path) {
    return WorkbookError(path + ": this build of Quillbay reads and writes no XLSX workbooks; "
                                "use CSV",
                         path);
}

} // namespace

std::string columnLetters(std::size_t column) {
    return std::to_string(column + 1);
}

std::string cellName(const WorkbookTable& table, std::size_t row, std::size_t column) {
    return table.sheet + "!" + columnLetters(column) + std::to_string(row + 1);
}

WorkbookTable readWorkbookTable(std::string_view, const std::string& path) {
    throw unavailable(path);
}

void writeWorkbook(const std::string& path, const WorkbookPlayers&, const WorkbookOrigin&) {
    throw unavailable(path);
}

} // namespace qb
