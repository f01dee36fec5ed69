#include "player/workbook_writer.h"

#include "player/field_titles.h"
#include "player/workbook_reader.h"
#include "roster/layout.h"
#include "system/file_handle.h"

#include <ctime>
#include <map>
#include <xlsxwriter.h>

namespace qb {
namespace {

// The first two rows hold the titles and the keys; players start below them.
constexpr lxw_row_t kTitleRow = 0;
constexpr lxw_row_t kKeyRow = 1;
constexpr lxw_row_t kFirstPlayerRow = 2;

std::string titleOfKey(const ObjectKey& key) {
    static const std::map<std::string, std::string> kOwnTitles = {
        {"slot", "Slot"},
        {"id", "ID"},
        {"commentaryName", "Commentary Name"},
        {kSlotHashKey, "Slot Hash"}};
    const auto own = kOwnTitles.find(key.key);
    return own != kOwnTitles.end() ? own->second : qualifiedTitleOf(*key.field);
}

// The owner of a workbook being written: closed (and so written) once, or freed with
// what it wrote removed.
class Workbook {
public:
    Workbook(const std::string& path, const std::string& part)
        : path_(path), part_(part), book_(workbook_new(part.c_str())) {
        if (book_ == nullptr) {
            throw WorkbookError(
                "Cannot write " + path + ": the file " + part + " cannot be created", path);
        }
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;
    ~Workbook() {
        if (book_ != nullptr) {
            workbook_close(book_);
            removeFile(part_);
        }
    }
    lxw_workbook* operator->() const { return book_; }
    lxw_workbook* get() const { return book_; }

    // Writes the file out and renames it over `path`.
    void close() {
        const lxw_error error = workbook_close(book_);
        book_ = nullptr;
        if (error != LXW_NO_ERROR) {
            removeFile(part_);
            throw WorkbookError("Cannot write " + path_ + ": " + lxw_strerror(error), path_);
        }
        replaceFile(part_, path_);
    }

private:
    std::string path_;
    std::string part_;
    lxw_workbook* book_;
};

struct Formats {
    explicit Formats(lxw_workbook* book)
        : title(workbook_add_format(book)), keyRow(workbook_add_format(book)),
          readOnly(workbook_add_format(book)), readOnlyText(workbook_add_format(book)),
          editable(workbook_add_format(book)), editableText(workbook_add_format(book)) {
        format_set_bold(title);
        format_set_bg_color(title, 0xDDEBF7);
        format_set_font_color(keyRow, 0x595959);
        format_set_italic(keyRow);
        format_set_bg_color(keyRow, 0xDDEBF7);
        for (lxw_format* format : {readOnly, readOnlyText}) {
            format_set_bg_color(format, 0xD9D9D9); // shaded, and locked as every cell is
        }
        for (lxw_format* format : {editable, editableText}) {
            format_set_unlocked(format);
        }
        // Text typed into a text column stays text ("1996" is a name, not a number).
        format_set_num_format(readOnlyText, "@");
        format_set_num_format(editableText, "@");
    }
    lxw_format* of(const ObjectKey& key) const {
        const bool text =
            key.key == kSlotHashKey || (key.field != nullptr && key.field->kind == FieldKind::Text);
        return key.readOnly() ? (text ? readOnlyText : readOnly) : (text ? editableText : editable);
    }

    lxw_format* title;
    lxw_format* keyRow;
    lxw_format* readOnly;
    lxw_format* readOnlyText;
    lxw_format* editable;
    lxw_format* editableText;
};

void writeValue(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const Json& value,
                lxw_format* format) {
    if (value.is_boolean()) {
        worksheet_write_boolean(sheet, row, column, value.get<bool>(), format);
    } else if (value.is_number()) {
        worksheet_write_number(sheet, row, column, value.get<double>(), format);
    } else if (value.is_string()) {
        worksheet_write_string(sheet, row, column, value.get<std::string>().c_str(), format);
    } else {
        worksheet_write_blank(sheet, row, column, format);
    }
}

// What a column takes, checked while the user types: the field's entries (listed on the
// sheet "Lists" in `listColumn`), its range, TRUE or FALSE, or a name's length.
void addValidation(lxw_worksheet* sheet, const Field& field, lxw_col_t column, lxw_row_t lastRow,
                   lxw_worksheet* lists, std::size_t& listColumn) {
    lxw_data_validation validation{};
    std::string message;
    std::string formula;
    const char* truth[] = {"TRUE", "FALSE", nullptr};
    switch (field.kind) {
    case FieldKind::Choice: {
        const std::string letter = columnLetters(listColumn);
        worksheet_write_string(lists, 0, static_cast<lxw_col_t>(listColumn), field.key.c_str(),
                               nullptr);
        for (std::size_t i = 0; i < field.choices.size(); ++i) {
            worksheet_write_string(lists, static_cast<lxw_row_t>(i + 1),
                                   static_cast<lxw_col_t>(listColumn),
                                   std::string(field.choices[i]).c_str(), nullptr);
        }
        formula =
            "=Lists!$" + letter + "$2:$" + letter + "$" + std::to_string(field.choices.size() + 1);
        ++listColumn;
        validation.validate = LXW_VALIDATION_TYPE_LIST_FORMULA;
        validation.value_formula = formula.data();
        message = "One of the list's entries";
        break;
    }
    case FieldKind::Flag:
        validation.validate = LXW_VALIDATION_TYPE_LIST;
        validation.value_list = const_cast<char**>(truth);
        message = "TRUE or FALSE";
        break;
    case FieldKind::Text:
        validation.validate = LXW_VALIDATION_TYPE_LENGTH;
        validation.criteria = LXW_VALIDATION_CRITERIA_LESS_THAN_OR_EQUAL_TO;
        validation.value_number = NAME_MAX_CHARS;
        message = "At most " + std::to_string(NAME_MAX_CHARS) + " characters";
        break;
    case FieldKind::Statistic: // a figure shown with a fraction keeps it
        validation.validate = LXW_VALIDATION_TYPE_DECIMAL;
        validation.criteria = LXW_VALIDATION_CRITERIA_BETWEEN;
        validation.minimum_number = field.low;
        validation.maximum_number = field.high;
        message =
            "A number from " + std::to_string(field.low) + " to " + std::to_string(field.high);
        break;
    default: // ratings, lists of numbers, the commentary number, Injury Free's 0-2
        validation.validate = LXW_VALIDATION_TYPE_INTEGER;
        validation.criteria = LXW_VALIDATION_CRITERIA_BETWEEN;
        validation.minimum_number = field.low;
        validation.maximum_number = field.high;
        message = "A whole number from " + std::to_string(field.low) + " to " +
                  std::to_string(field.high);
        break;
    }
    std::string title = qualifiedTitleOf(field);
    title.resize(std::min<std::size_t>(title.size(), 32)); // the formats' limit
    validation.input_title = title.data();
    validation.input_message = message.data();
    validation.error_title = title.data();
    validation.error_message = message.data();
    worksheet_data_validation_range(sheet, kFirstPlayerRow, column, lastRow, column, &validation);
}

void setProperties(lxw_workbook* book, const WorkbookOrigin& origin) {
    std::string title = "Players of " + origin.rosterPath;
    std::string comments = "Edit the white columns, then: quillbay-cli apply ROSTER THIS.xlsx";
    lxw_doc_properties properties{};
    properties.title = title.data();
    properties.comments = comments.data();
    properties.created = std::time(nullptr);
    workbook_set_properties(book, &properties);
    workbook_set_custom_property_string(book, "Roster", origin.rosterPath.c_str());
    workbook_set_custom_property_string(book, "Roster kind", origin.rosterKind.c_str());
    workbook_set_custom_property_string(book, "Made by", origin.madeBy.c_str());
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    lxw_datetime when{utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                      utc.tm_hour,        utc.tm_min,     static_cast<double>(utc.tm_sec)};
    workbook_set_custom_property_datetime(book, "Written", &when);
}

} // namespace

void writeWorkbook(const std::string& path, const WorkbookPlayers& players,
                   const WorkbookOrigin& origin) {
    const std::string part = path + ".part";
    removeFile(part);
    Workbook book(path, part);
    lxw_worksheet* sheet = workbook_add_worksheet(book.get(), "Players");
    lxw_worksheet* lists = workbook_add_worksheet(book.get(), "Lists");
    const Formats formats(book.get());
    setProperties(book.get(), origin);

    std::vector<const ObjectKey*> keys = players.keys;
    const ObjectKey hashKey{kSlotHashKey};
    if (players.hash) {
        keys.push_back(&hashKey);
    }
    const auto lastRow = static_cast<lxw_row_t>(
        kFirstPlayerRow + std::max<std::size_t>(players.playerSlots.size(), 1) - 1);
    std::size_t listColumn = 0;
    lxw_col_t frozen = 0;
    std::string group;
    for (std::size_t c = 0; c < keys.size(); ++c) {
        const ObjectKey& key = *keys[c];
        const auto column = static_cast<lxw_col_t>(c);
        const std::string title = titleOfKey(key);
        worksheet_write_string(sheet, kTitleRow, column, title.c_str(), formats.title);
        worksheet_write_string(sheet, kKeyRow, column, key.key.c_str(), formats.keyRow);
        // A group's columns after its first fold away under it; slot, ID and name stay.
        const bool fixed = key.field == nullptr || key.key == "name";
        const std::string keyGroup = fixed ? std::string() : groupTitleOf(*key.field);
        lxw_row_col_options outline{};
        outline.level = !fixed && keyGroup == group ? 1 : 0;
        group = keyGroup;
        const double width = std::max<double>(9, static_cast<double>(title.size()) + 2);
        worksheet_set_column_opt(sheet, column, column, width, formats.of(key), &outline);
        if (frozen == column && (key.key == "slot" || key.key == "id" || key.key == "name")) {
            frozen = static_cast<lxw_col_t>(column + 1);
        }
        if (!key.readOnly()) {
            addValidation(sheet, *key.field, column, lastRow, lists, listColumn);
        }
    }
    for (std::size_t r = 0; r < players.playerSlots.size(); ++r) {
        const int slot = players.playerSlots[r];
        const auto row = static_cast<lxw_row_t>(kFirstPlayerRow + r);
        for (std::size_t c = 0; c < keys.size(); ++c) {
            const ObjectKey& key = *keys[c];
            const Json value =
                keys[c] == &hashKey ? Json(players.hash(slot)) : players.value(slot, key);
            writeValue(sheet, row, static_cast<lxw_col_t>(c), value, formats.of(key));
        }
    }
    worksheet_freeze_panes(sheet, kFirstPlayerRow, frozen);
    worksheet_autofilter(sheet, kKeyRow, 0, lastRow, static_cast<lxw_col_t>(keys.size() - 1));
    lxw_protection protection{};
    protection.format_columns = 1; // widen, hide and fold columns
    protection.autofilter = 1;
    protection.sort = 1;
    worksheet_protect(sheet, nullptr, &protection);
    worksheet_protect(lists, nullptr, nullptr);
    worksheet_set_landscape(sheet); // printed, the wide sheet shows more of its columns
    worksheet_activate(sheet);
    book.close();
}

} // namespace qb
