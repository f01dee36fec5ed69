#include "player/workbook_reader.h"

#include "player/patch.h"
#include "player/workbook_writer.h"
#include "player/zip_archive.h"
#include "roster/codepage.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <expat.h>
#include <functional>
#include <map>
#include <optional>

namespace qb {
namespace {

// The rows a keys row may be in: a workbook of ours has titles above it in row 1.
constexpr std::size_t kKeyRowsSearched = 10;

std::string_view localName(std::string_view name) {
    const auto colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The attribute whose local name is `name`; with `prefixed`, only one with a namespace
// prefix ("r:id", not "sheetId").
std::string attribute(const char** attributes, std::string_view name, bool prefixed = false) {
    for (const char** at = attributes; *at != nullptr; at += 2) {
        const std::string_view full = at[0];
        if (localName(full) == name && (!prefixed || full.find(':') != std::string_view::npos)) {
            return at[1];
        }
    }
    return {};
}

struct XmlHandlers {
    std::function<void(std::string_view name, const char** attributes)> start;
    std::function<void(std::string_view name)> end;
    std::function<void(std::string_view text)> text;
};

// Runs expat over one part of the workbook; an error of a handler stops it and is thrown
// on, an error of the XML is thrown naming the part and line.
void walkXml(const std::string& xml, const XmlHandlers& handlers, const std::string& where) {
    struct Walk {
        const XmlHandlers* handlers;
        XML_Parser parser;
        std::exception_ptr failure;
    };
    XML_Parser parser = XML_ParserCreate("UTF-8");
    Walk walk{&handlers, parser, nullptr};
    const auto guarded = [](void* data, const std::function<void()>& step) {
        auto& state = *static_cast<Walk*>(data);
        try {
            step();
        } catch (...) {
            state.failure = std::current_exception();
            XML_StopParser(state.parser, XML_FALSE);
        }
    };
    XML_SetUserData(parser, &walk);
    static thread_local decltype(guarded)* run = nullptr;
    run = &guarded;
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            const auto* h = static_cast<Walk*>(data)->handlers;
            if (h->start) {
                (*run)(data, [&] { h->start(localName(name), attributes); });
            }
        },
        [](void* data, const XML_Char* name) {
            const auto* h = static_cast<Walk*>(data)->handlers;
            if (h->end) {
                (*run)(data, [&] { h->end(localName(name)); });
            }
        });
    XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
        const auto* h = static_cast<Walk*>(data)->handlers;
        if (h->text) {
            (*run)(data, [&] { h->text({text, static_cast<std::size_t>(length)}); });
        }
    });
    const XML_Status status = XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE);
    const std::string error = status == XML_STATUS_ERROR && walk.failure == nullptr
                                  ? std::string(XML_ErrorString(XML_GetErrorCode(parser))) +
                                        " at line " +
                                        std::to_string(XML_GetCurrentLineNumber(parser))
                                  : std::string();
    XML_ParserFree(parser);
    if (walk.failure) {
        std::rethrow_exception(walk.failure);
    }
    if (!error.empty()) {
        throw WorkbookError(where + " is not well-formed XML: " + error, where);
    }
}

std::string requiredPart(const ZipArchive& zip, const std::string& name, const std::string& path) {
    std::optional<std::string> text = zip.part(name);
    if (!text) {
        throw WorkbookError(path + " is not an XLSX workbook (it has no " + name + ")", path);
    }
    return *text;
}

// "xl/worksheets/sheet1.xml" from a relationship's target, relative to xl/ or absolute.
std::string partPath(const std::string& target) {
    return target.starts_with('/') ? target.substr(1) : "xl/" + target;
}

// A workbook's text with its escapes undone: "_x000D_" is the character U+000D, which
// XML cannot hold as it is ("_x005F_" is the "_" of a text that reads like an escape).
std::string unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned code = 0;
        const bool escape =
            text.compare(i, 2, "_x") == 0 && i + 7 <= text.size() && text[i + 6] == '_' &&
            std::from_chars(text.data() + i + 2, text.data() + i + 6, code, 16).ptr ==
                text.data() + i + 6;
        if (escape) {
            out += charToUtf8(static_cast<char32_t>(code));
            i += 6;
        } else {
            out += text[i];
        }
    }
    return out;
}

struct Sheet {
    std::string name;
    std::string part;
};

struct WorkbookParts {
    std::vector<Sheet> sheets; // in the workbook's order
    std::string sharedStrings; // the part's path; empty when there is none
};

WorkbookParts workbookParts(const ZipArchive& zip, const std::string& path) {
    std::vector<std::pair<std::string, std::string>> named; // name and relationship
    walkXml(requiredPart(zip, "xl/workbook.xml", path),
            {[&](std::string_view name, const char** attributes) {
                if (name == "sheet") {
                    named.emplace_back(attribute(attributes, "name"),
                                       attribute(attributes, "id", true));
                }
            }},
            path + ": xl/workbook.xml");
    std::map<std::string, std::string> targets;
    WorkbookParts parts;
    walkXml(requiredPart(zip, "xl/_rels/workbook.xml.rels", path),
            {[&](std::string_view name, const char** attributes) {
                if (name != "Relationship") {
                    return;
                }
                const std::string target = partPath(attribute(attributes, "Target"));
                targets[attribute(attributes, "Id")] = target;
                if (attribute(attributes, "Type").ends_with("/sharedStrings")) {
                    parts.sharedStrings = target;
                }
            }},
            path + ": xl/_rels/workbook.xml.rels");
    for (const auto& [name, relationship] : named) {
        if (const auto target = targets.find(relationship); target != targets.end()) {
            parts.sheets.push_back({name, target->second});
        }
    }
    return parts;
}

// Each shared string: the text of its runs, without the phonetic guides (rPh).
std::vector<std::string> sharedStrings(const ZipArchive& zip, const std::string& part,
                                       const std::string& path) {
    std::vector<std::string> strings;
    if (part.empty()) {
        return strings;
    }
    bool inText = false;
    int phonetic = 0;
    walkXml(requiredPart(zip, part, path),
            {[&](std::string_view name, const char**) {
                 if (name == "si") {
                     strings.emplace_back();
                 }
                 phonetic += name == "rPh" ? 1 : 0;
                 inText = name == "t" && phonetic == 0 && !strings.empty();
             },
             [&](std::string_view name) {
                 phonetic -= name == "rPh" ? 1 : 0;
                 inText = false;
             },
             [&](std::string_view text) {
                 if (inText) {
                     strings.back() += text;
                 }
             }},
            path + ": " + part);
    for (std::string& text : strings) {
        text = unescaped(text);
    }
    return strings;
}

// A number as the CSV reader would give it: whole numbers without a point, others in
// their shortest form of up to 15 digits (what spreadsheets show of a double).
std::string numberText(const std::string& stored) {
    double value = 0;
    const auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), value);
    if (error != std::errc() || end != stored.data() + stored.size()) {
        return stored;
    }
    char text[32];
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        std::snprintf(text, sizeof text, "%.0f", value);
    } else {
        std::snprintf(text, sizeof text, "%.15g", value);
    }
    return text;
}

// "H12" as its column (0-based) and row (1-based); nothing for another text.
std::optional<std::pair<std::size_t, std::size_t>> cellPosition(std::string_view reference) {
    std::size_t column = 0;
    std::size_t i = 0;
    for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z'; ++i) {
        column = column * 26 + static_cast<std::size_t>(reference[i] - 'A' + 1);
    }
    std::size_t row = 0;
    const auto [end, error] =
        std::from_chars(reference.data() + i, reference.data() + reference.size(), row);
    if (i == 0 || error != std::errc() || end != reference.data() + reference.size() || row == 0) {
        return std::nullopt;
    }
    return std::pair{column - 1, row};
}

// Every row of one sheet with a cell, keyed by its number; each row's cells by column.
using SheetRows = std::map<std::size_t, std::vector<std::string>>;

SheetRows sheetRows(const ZipArchive& zip, const Sheet& sheet,
                    const std::vector<std::string>& shared, const std::string& path) {
    SheetRows rows;
    std::size_t row = 0;
    std::size_t column = 0;
    std::string reference;
    std::string type;
    std::string value;
    std::string inlineText;
    bool formula = false;
    bool hasValue = false;
    std::string* collecting = nullptr;
    const auto cell = [&] { return sheet.name + "!" + reference; };
    const auto finish = [&]() -> std::string {
        if (type == "e") {
            throw EditError(path + ": " + cell() + " holds the error " + value +
                                ", not a value; correct it in the spreadsheet",
                            path);
        }
        if (formula && !hasValue) {
            throw EditError(path + ": " + cell() +
                                " holds a formula without its value: open the workbook in a "
                                "spreadsheet and save it again, which stores the value",
                            path);
        }
        if (type == "s") {
            std::size_t index = 0;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), index);
            if (error != std::errc() || index >= shared.size()) {
                throw WorkbookError(path + ": " + cell() + " names no shared string", path);
            }
            return shared[index];
        }
        if (type == "inlineStr") {
            return unescaped(inlineText);
        }
        if (type == "b") {
            return value == "1" ? "true" : "false";
        }
        return type == "str" || value.empty() ? unescaped(value) : numberText(value);
    };
    walkXml(requiredPart(zip, sheet.part, path),
            {[&](std::string_view name, const char** attributes) {
                 if (name == "row") {
                     const std::string number = attribute(attributes, "r");
                     row = number.empty() ? row + 1 : std::stoul(number);
                     column = 0;
                 } else if (name == "c") {
                     reference = attribute(attributes, "r");
                     if (const auto position = cellPosition(reference)) {
                         column = position->first;
                         row = position->second;
                     } else {
                         reference = columnLetters(column) + std::to_string(row);
                     }
                     type = attribute(attributes, "t");
                     value.clear();
                     inlineText.clear();
                     formula = false;
                     hasValue = false;
                 } else if (name == "f") {
                     formula = true;
                 } else if (name == "v") {
                     hasValue = true;
                     collecting = &value;
                 } else if (name == "t") {
                     collecting = &inlineText;
                 }
             },
             [&](std::string_view name) {
                 collecting = nullptr;
                 if (name == "c") {
                     std::string text = finish();
                     std::vector<std::string>& cells = rows[row];
                     if (!text.empty()) {
                         cells.resize(std::max(cells.size(), column + 1));
                         cells[column] = std::move(text);
                     }
                     ++column;
                 }
             },
             [&](std::string_view text) {
                 if (collecting != nullptr) {
                     *collecting += text;
                 }
             }},
            path + ": " + sheet.part);
    return rows;
}

bool isKeysRow(const std::vector<std::string>& cells) {
    return std::ranges::count(cells, "slot") + std::ranges::count(cells, "id") > 0;
}

} // namespace

std::string columnLetters(std::size_t column) {
    std::string name;
    for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26) {
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    return name;
}

std::string cellName(const WorkbookTable& table, std::size_t row, std::size_t column) {
    return table.sheet + "!" + columnLetters(column) + std::to_string(table.rowNumbers.at(row));
}

WorkbookTable readWorkbookTable(std::string_view bytes, const std::string& path) {
    const ZipArchive zip(bytes, path);
    const WorkbookParts parts = workbookParts(zip, path);
    const std::vector<std::string> shared = sharedStrings(zip, parts.sharedStrings, path);
    for (const Sheet& sheet : parts.sheets) {
        const SheetRows rows = sheetRows(zip, sheet, shared, path);
        auto keys = rows.begin();
        for (std::size_t searched = 0; keys != rows.end() && searched < kKeyRowsSearched;
             ++keys, ++searched) {
            if (isKeysRow(keys->second)) {
                break;
            }
        }
        if (keys == rows.end() || !isKeysRow(keys->second)) {
            continue;
        }
        WorkbookTable table{sheet.name, {}, {}};
        for (auto at = keys; at != rows.end(); ++at) {
            const bool empty = std::ranges::all_of(at->second, &std::string::empty);
            if (!empty) {
                table.rows.push_back(at->second);
                table.rowNumbers.push_back(at->first);
            }
        }
        return table;
    }
    throw EditError(path + ": no sheet has a \"slot\" or \"id\" column in its first rows", path);
}

} // namespace qb
