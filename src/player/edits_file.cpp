#include "player/edits_file.h"

#include "player/csv.h"
#include "player/json_reader.h"
#include "player/player_object.h"
#include "player/workbook_reader.h"
#include "system/file_handle.h"
#include "system/quoted_text.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <set>

namespace qb {
namespace {

// Whether `path` ends in `extension` (".csv"), ignoring case.
bool hasExtension(const std::string& path, std::string_view extension) {
    return path.size() >= extension.size() &&
           std::equal(
               extension.begin(), extension.end(),
               path.end() - static_cast<std::ptrdiff_t>(extension.size()),
               [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

// By slot when `names("slot")`, else by ID when `names("id")`, else by slot.
template <typename Names> MatchBy matchNamed(const Names& names) {
    return names("slot") || !names("id") ? MatchBy::Slot : MatchBy::Id;
}

// A figure as a spreadsheet with a decimal comma writes it ("12,5") where the comma is
// not the separator, as the program reads figures ("12.5"); any other text as it is.
std::string withDecimalPoint(const Field* field, std::string cell, char separator) {
    const bool figure =
        field != nullptr && (field->kind == FieldKind::Statistic || field->kind == FieldKind::Rate);
    const auto comma = cell.find(',');
    const auto digits = [&cell](std::size_t from, std::size_t to) {
        return to > from && std::all_of(cell.begin() + static_cast<std::ptrdiff_t>(from),
                                        cell.begin() + static_cast<std::ptrdiff_t>(to),
                                        [](char ch) { return ch >= '0' && ch <= '9'; });
    };
    if (figure && separator != ',' && comma != std::string::npos &&
        digits(cell.starts_with('-') ? 1 : 0, comma) && digits(comma + 1, cell.size())) {
        cell[comma] = '.';
    }
    return cell;
}

EditsFile readJson(const std::string& text, const std::string& path, std::optional<MatchBy> by) {
    EditsFile file;
    file.by = by.value_or(MatchBy::Slot);
    if (!by) {
        try {
            const Json entries = readJsonEdits(text, path, kPlayerObjectDepth);
            const Json first = entries.is_array() && !entries.empty() ? entries.front() : Json();
            file.by = matchNamed(
                [&first](const char* key) { return first.is_object() && first.contains(key); });
        } catch (const QuillbayError&) {
            // reading it below says what is wrong with it
        }
    }
    for (PatchEntry& entry : readPatch(text, path, file.by)) {
        file.players[entry.slotOrId] = std::move(entry.edits);
        if (entry.slotHash) {
            file.hashes[entry.slotOrId] = *entry.slotHash;
        }
    }
    return file;
}

// The cells of an edits file, the keys row first, and how its places are named.
struct CellRows {
    std::vector<std::vector<std::string>> rows;
    std::function<std::string(std::size_t row)> rowName; // "row 3"
    std::function<std::string(std::size_t row, std::size_t column)>
        cellName;          // "row 3: column name"
    char separator = '\0'; // a CSV file's; a decimal comma is a point where it is not ','
    bool ragged = false;   // rows may leave out empty cells at their end (a workbook)
};

// The edits of the rows under a keys row, as both kinds of file give them.
EditsFile readRows(const CellRows& cells, const std::string& path, std::optional<MatchBy> by,
                   EditsFile file) {
    const auto& rows = cells.rows;
    if (rows.empty()) {
        throw EditError(path + ": no header row", path);
    }
    const std::vector<std::string>& header = rows.front();
    const auto names = [&header](const char* key) { return std::ranges::count(header, key) != 0; };
    file.by = by.value_or(matchNamed(names));
    const PlayerNaming naming(file.by);
    const auto keyColumn = std::ranges::find(header, naming.key);
    if (keyColumn == header.end()) {
        throw EditError(path + ": no \"" + naming.key + "\" column" +
                            naming.byIdHint(names("id"), "rows"),
                        path);
    }
    std::set<std::string> columns;
    for (const std::string& key : header) {
        if (!columns.insert(key).second) {
            throw EditError(path + ": " + cells.rowName(0) + ": the column " + quotedText(key) +
                                " appears twice",
                            path);
        }
        if (findObjectKey(key) == nullptr && key != kSlotHashKey) {
            throw EditError(path + ": " + cells.rowName(0) + ": unknown column " + quotedText(key),
                            path);
        }
    }
    file.hasHashColumn = names(kSlotHashKey);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        std::vector<std::string> row = rows[r];
        if (cells.ragged && row.size() <= header.size()) {
            row.resize(header.size());
        }
        if (row.size() != header.size()) {
            throw EditError(path + ": " + cells.rowName(r) + ": has " + std::to_string(row.size()) +
                                " cells, the header " + std::to_string(header.size()),
                            path);
        }
        const auto keyAt = static_cast<std::size_t>(keyColumn - header.begin());
        const std::optional<int> player = naming.fromText(row[keyAt]);
        if (!player) {
            throw EditError(path + ": " + cells.cellName(r, keyAt) + ": " + quotedText(row[keyAt]) +
                                " is not " + (naming.bySlot ? "a slot" : "a player ID") +
                                " from 0 to " + std::to_string(naming.highest),
                            path);
        }
        if (file.players.contains(*player)) {
            throw EditError(path + ": " + cells.rowName(r) + ": " + naming.repeated(*player), path);
        }
        std::vector<FieldEdit>& edits = file.players[*player];
        for (std::size_t c = 0; c < header.size(); ++c) {
            const std::string& key = header[c];
            const std::string column = path + ": " + cells.cellName(r, c);
            if (row[c].empty() || key == naming.key) {
                continue;
            }
            if (key == kSlotHashKey) {
                file.hashes[*player] = {row[c], column};
                continue;
            }
            const ObjectKey& known = *findObjectKey(key);
            const std::string value = withDecimalPoint(known.field, row[c], cells.separator);
            if (!known.readOnly()) {
                edits.push_back(fieldEdit(key, value, column + ": "));
            } else if (key != "slot") { // a player found by ID may have moved
                file.readOnly[*player].push_back({key, value, column});
            }
        }
    }
    return file;
}

EditsFile readCsvFile(const std::string& bytes, const std::string& path,
                      std::optional<MatchBy> by) {
    CsvTable table = readCsv(bytes, path);
    // The UTF-8 byte order mark, read as Windows-1252 and saved again: every name after
    // it was garbled the same way.
    if (!table.rows.empty() && !table.rows.front().empty() &&
        table.rows.front().front().starts_with("\u00EF\u00BB\u00BF")) {
        throw EditError(
            path +
                ": row 1: column 1 starts with \"\u00EF\u00BB\u00BF\", the mark of a UTF-8 "
                "file read as Windows-1252: the spreadsheet opened the UTF-8 file "
                "in the wrong encoding, and its names would be written garbled. " +
                kImportAsUtf8,
            path);
    }
    EditsFile file;
    if (table.encoding != TextEncoding::Utf8) {
        file.notes.push_back(
            path + ": read as " + std::string(encodingName(table.encoding)) +
            (table.encoding == TextEncoding::Windows1252 ? " (it is not UTF-8 text)" : ""));
    }
    CellRows cells{std::move(table.rows), nullptr, nullptr, table.separator, false};
    cells.rowName = [](std::size_t row) { return "row " + std::to_string(row + 1); };
    cells.cellName = [&cells](std::size_t row, std::size_t column) {
        return "row " + std::to_string(row + 1) + ": column " + cells.rows.front()[column];
    };
    return readRows(cells, path, by, std::move(file));
}

// A workbook's cells are typed: no separator, and a row may end before its last column.
EditsFile readWorkbookFile(const std::string& bytes, const std::string& path,
                           std::optional<MatchBy> by) {
    const WorkbookTable table = readWorkbookTable(bytes, path);
    CellRows cells{table.rows, nullptr, nullptr, '\0', true};
    cells.rowName = [&table](std::size_t row) {
        return table.sheet + " row " + std::to_string(table.rowNumbers.at(row));
    };
    cells.cellName = [&table](std::size_t row, std::size_t column) {
        return cellName(table, row, column) + ": column " + table.rows.front()[column];
    };
    return readRows(cells, path, by, EditsFile{});
}

} // namespace

std::string readEditsFileBytes(const std::string& path) {
    return readSmallFile(path, kLargestEditsFile, "an edits file");
}

EditsFile readEditsFile(const std::string& bytes, const std::string& path,
                        std::optional<MatchBy> by) {
    if (hasExtension(path, ".csv")) {
        return readCsvFile(bytes, path, by);
    }
    return hasExtension(path, ".xlsx") ? readWorkbookFile(bytes, path, by)
                                       : readJson(bytes, path, by);
}

EditsFile keyedBySlot(EditsFile file, const RosterDocument& document, std::vector<int>& unmatched) {
    if (file.by == MatchBy::Slot) {
        return file;
    }
    const auto holders = namedSlotsById(document);
    EditsFile slots;
    slots.by = MatchBy::Slot;
    slots.hasHashColumn = file.hasHashColumn;
    slots.notes = std::move(file.notes);
    for (auto& [id, edits] : file.players) {
        const std::optional<int> slot = slotHoldingId(holders, id, document.path());
        if (!slot) {
            unmatched.push_back(id);
            continue;
        }
        slots.players[*slot] = std::move(edits);
        if (const auto hash = file.hashes.find(id); hash != file.hashes.end()) {
            slots.hashes[*slot] = std::move(hash->second);
        }
        if (const auto cells = file.readOnly.find(id); cells != file.readOnly.end()) {
            slots.readOnly[*slot] = std::move(cells->second);
        }
    }
    return slots;
}

} // namespace qb
