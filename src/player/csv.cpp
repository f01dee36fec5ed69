#include "player/csv.h"

namespace qb {

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

std::vector<std::vector<std::string>> parseCsv(std::string_view text, const std::string& path) {
    // What spreadsheets save as "CSV UTF-8" starts with a byte-order mark.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    bool rowHasContent = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (quoted) {
            if (ch == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (ch == '"') {
                quoted = false;
            } else {
                field += ch;
            }
            continue;
        }
        if (ch == '"') {
            quoted = true;
            rowHasContent = true;
        } else if (ch == ',') {
            row.push_back(std::move(field));
            field.clear();
            rowHasContent = true;
        } else if (ch == '\n' || ch == '\r') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            if (rowHasContent || !field.empty()) {
                row.push_back(std::move(field));
                rows.push_back(std::move(row));
            }
            row.clear();
            field.clear();
            rowHasContent = false;
        } else {
            field += ch;
        }
    }
    if (quoted) {
        throw CsvError(path + ": a quoted field is not closed", path);
    }
    if (rowHasContent || !field.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace qb
