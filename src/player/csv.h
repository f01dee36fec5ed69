#pragma once

#include "roster/errors.h"

#include <string>
#include <string_view>
#include <vector>

namespace qb {

// A CSV text that cannot be read (a quoted field left open); names the file.
class CsvError : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

// One field of a CSV row, quoted when it holds a comma, a quote or a line break
// (quotes doubled), as spreadsheets write it.
std::string csvField(std::string_view text);
// A CSV row of these cells, each quoted as csvField quotes it, ended by CR LF.
std::string csvLine(const std::vector<std::string>& cells);

// The rows of a CSV text (RFC 4180: quoted fields may hold commas, doubled quotes
// and line breaks; lines end in CR LF or LF; a leading UTF-8 byte-order mark is
// skipped). A quote left open throws CsvError.
std::vector<std::vector<std::string>> parseCsv(std::string_view text, const std::string& path);

} // namespace qb
