#include "player/csv.h"

#include "roster/codepage.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace qb {
namespace {

constexpr std::array<char, 3> kSeparators = {',', ';', '\t'};

// "row 3: column name" (the header's key), or "row 1: column 4" in the header itself.
std::string place(const std::vector<std::vector<std::string>>& rows, std::size_t row,
                  std::size_t column) {
    const bool named = row > 0 && !rows.empty() && column < rows.front().size();
    return "row " + std::to_string(row + 1) + ": column " +
           (named ? rows.front()[column] : std::to_string(column + 1));
}

// The rows of `text` split at `separator`. A quote opens a quoted field only at the
// start of a field; after its closing quote only a separator or a line end may follow.
// With `firstRowOnly`, stops after the first row and throws nothing.
std::vector<std::vector<std::string>> splitRows(std::string_view text, char separator,
                                                const std::string& path,
                                                bool firstRowOnly = false) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    enum class State { FieldStart, Plain, Quoted, AfterQuote } state = State::FieldStart;
    const auto endRow = [&] {
        if (!row.empty() || !field.empty() || state != State::FieldStart) {
            row.push_back(std::move(field));
            rows.push_back(std::move(row));
        }
        row.clear();
        field.clear();
        state = State::FieldStart;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (state == State::Quoted) {
            if (ch != '"') {
                field += ch;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                state = State::AfterQuote;
            }
            continue;
        }
        if (ch == separator) {
            row.push_back(std::move(field));
            field.clear();
            state = State::FieldStart;
        } else if (ch == '\n' || ch == '\r') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            endRow();
            if (firstRowOnly && !rows.empty()) {
                return rows;
            }
        } else if (state == State::AfterQuote) {
            if (firstRowOnly) {
                return {};
            }
            throw CsvError(path + ": " + place(rows, rows.size(), row.size()) +
                               ": text after the closing quote of a quoted field",
                           path);
        } else if (ch == '"' && state == State::FieldStart) {
            state = State::Quoted;
        } else {
            field += ch;
            state = State::Plain;
        }
    }
    if (state == State::Quoted && !firstRowOnly) {
        throw CsvError(path + ": " + place(rows, rows.size(), row.size()) +
                           ": a quoted field is not closed",
                       path);
    }
    endRow();
    return rows;
}

// The separator of the header row: the first that gives a "slot" or "id" column, else the
// one that gives the most columns (a comma when none splits it).
char separatorOf(std::string_view text, const std::string& path) {
    char best = ',';
    std::size_t most = 1;
    for (const char separator : kSeparators) {
        const auto rows = splitRows(text, separator, path, true);
        if (rows.empty()) {
            continue;
        }
        const std::vector<std::string>& header = rows.front();
        if (std::ranges::count(header, "slot") + std::ranges::count(header, "id") > 0) {
            return separator;
        }
        if (header.size() > most) {
            most = header.size();
            best = separator;
        }
    }
    return best;
}

std::string hexByte(char byte) {
    char text[5];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned char>(byte));
    return text;
}

// Every cell in UTF-8, as `encoding` says or, when no mark said it, as the cells show:
// all valid UTF-8, or none shaped as UTF-8 (Windows-1252).
void decodeCells(CsvTable& table, std::optional<TextEncoding> marked, const std::string& path) {
    auto& rows = table.rows;
    const auto eachCell = [&rows](const auto& visit) {
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (std::size_t c = 0; c < rows[r].size(); ++c) {
                visit(r, c, rows[r][c]);
            }
        }
    };
    bool valid = true;
    bool shaped = false;
    eachCell([&](std::size_t, std::size_t, const std::string& cell) {
        valid = valid && !firstInvalidUtf8(cell);
        shaped = shaped || hasUtf8Shape(cell);
    });
    table.encoding =
        marked.value_or(valid || shaped ? TextEncoding::Utf8 : TextEncoding::Windows1252);
    if (table.encoding != TextEncoding::Windows1252) {
        eachCell([&](std::size_t r, std::size_t c, const std::string& cell) {
            if (const auto bad = firstInvalidUtf8(cell)) {
                throw CsvError(path + ": " + place(rows, r, c) + ": the byte " +
                                   hexByte(cell[*bad]) + " at character " +
                                   std::to_string(utf8ToChars(cell.substr(0, *bad)).size() + 1) +
                                   " is not valid " + std::string(encodingName(table.encoding)) +
                                   " text",
                               path);
            }
        });
        return;
    }
    // The five bytes Windows-1252 leaves unassigned are no character of a name.
    constexpr std::string_view kUnassigned = "\x81\x8D\x8F\x90\x9D";
    eachCell([&](std::size_t r, std::size_t c, std::string& cell) {
        if (const auto bad = cell.find_first_of(kUnassigned); bad != std::string::npos) {
            throw CsvError(path + ": " + place(rows, r, c) + ": the byte " + hexByte(cell[bad]) +
                               " is neither UTF-8 nor Windows-1252 text",
                           path);
        }
        cell = decodeCp1252({reinterpret_cast<const std::uint8_t*>(cell.data()), cell.size()});
    });
}

} // namespace

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char ch : text) {
        quoted += ch;
        if (ch == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string csvLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += csvField(cells[i]);
    }
    return line + "\r\n";
}

CsvTable readCsv(std::string_view bytes, const std::string& path) {
    const ByteOrderMark mark = byteOrderMark(bytes);
    bytes.remove_prefix(mark.length);
    std::string text;
    if (mark.encoding == TextEncoding::Utf16LittleEndian ||
        mark.encoding == TextEncoding::Utf16BigEndian) {
        std::size_t badAt = 0;
        const auto utf8 = utf16ToUtf8(bytes, mark.encoding == TextEncoding::Utf16BigEndian, badAt);
        if (!utf8) {
            throw CsvError(path + ": the " + std::string(encodingName(*mark.encoding)) +
                               " text breaks off at byte " + std::to_string(badAt + mark.length) +
                               " (half a character, or a surrogate without its pair)",
                           path);
        }
        text = *utf8;
    } else {
        text = bytes;
    }
    CsvTable table;
    table.separator = separatorOf(text, path);
    table.rows = splitRows(text, table.separator, path);
    decodeCells(table, mark.encoding, path);
    return table;
}

} // namespace qb
