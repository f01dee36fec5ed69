#pragma once

#include "player/text_encoding.h"
#include "system/errors.h"

#include <string>
#include <string_view>
#include <vector>

namespace qb {

// A CSV text that cannot be read (a quoted field left open, text after a closing quote,
// bytes of no character); names the file, and the row and column where it can.
class CsvError : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

// What a CSV file written for spreadsheets starts with: a UTF-8 byte order mark, so
// Excel and LibreOffice read it as UTF-8 rather than as the Windows code page.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// One field of a CSV row, quoted when it holds a comma, a quote or a line break
// (quotes doubled), as spreadsheets write it.
std::string csvField(std::string_view text);
// A CSV row of these cells, each quoted as csvField quotes it, ended by CR LF.
std::string csvLine(const std::vector<std::string>& cells);

// The rows of a CSV file as a spreadsheet saves it, its cells in UTF-8, and how it was
// read.
struct CsvTable {
    std::vector<std::vector<std::string>> rows;
    TextEncoding encoding = TextEncoding::Utf8;
    char separator = ',';
};

// Reads a CSV file (RFC 4180: quoted fields may hold separators, doubled quotes and line
// breaks; lines end in CR LF or LF).
// - Encoding: a byte order mark says UTF-8 or UTF-16 (LE or BE). Without one the file is
//   UTF-8 when it is valid UTF-8, and Windows-1252 when it is not and holds nothing
//   shaped as UTF-8; UTF-8 with a broken sequence (an overlong "\xC0\xAF") is refused at
//   its row and column, never guessed.
// - Separator: comma, semicolon or tab, whichever splits the header row into a "slot" or
//   "id" column (else into the most columns), as Excel writes ';' where the decimal
//   point is a comma.
// Throws CsvError naming `path`, the row and the column.
CsvTable readCsv(std::string_view bytes, const std::string& path);

} // namespace qb
