#pragma once

#include "codecs/player_sheet.h"
#include "codecs/statistics.h"
#include "system/errors.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qb {

// Every editable field of a player, described once. The batch tool's player object, CSV
// columns, diff, bulk edits and checks, the window's pages and its statistics boxes
// all iterate this table; a field added here appears in each of them.

enum class FieldGroup { Identity, Appearance, Roles, Ratings, Skills, Shots, Statistics };

enum class FieldKind {
    Text,       // the name
    Number,     // the commentary number, typed as digits
    Choice,     // a list of named entries (nation, hair colour, bowling style)
    NumberList, // a list of the numbers 0..high (face, body type, hair style, bat)
    Rating,     // a slider 0-63
    Flag,       // a check box, clear or ticked
    ThreeState, // Injury Free: clear, ticked or greyed (0-2)
    Statistic,  // a figure of one format; an empty box keeps the stored figure
    Rate,       // a figure computed from others (strike rate, economy rate): read only
};

// A value as the player object holds it: nothing (an unselected list, an empty box),
// a flag, a whole number, a figure with a fraction, or a text (a choice's entry).
using FieldValue = std::variant<std::monostate, bool, long long, double, std::string>;

// Where a sheet keeps a field: a list index, slider value or box state, or a text.
using SheetCell = std::variant<int*, std::string*>;

// A value a field refuses, naming the key: `Invalid value "x" for key: <expected>`.
class FieldValueError : public QuillbayError {
public:
    FieldValueError(const std::string& key, std::string_view value, const std::string& expected);
    const std::string& key() const noexcept { return key_; }

private:
    std::string key_;
};

struct Field {
    std::string key; // the batch tool's dotted key: roles.bowlingStyle, statistics.Test.innings
    FieldGroup group;
    FieldKind kind;
    std::string caption; // the window's label, '&' before its access key
    int format = -1;     // a statistic's format (0-3); -1 for every other field
    std::span<const std::string_view> choices{}; // a Choice's entries in list order
    int low = 0; // the range of a number, a list's numbers or a box's states
    int high = 0;
    std::function<SheetCell(PlayerSheet&)> cell;

    bool readOnly() const { return kind == FieldKind::Rate; }
    // Whether relative edits (+= and -=) apply: the field holds a number in low..high.
    bool ranged() const;
    // What the sheet shows of the field, typed.
    FieldValue get(const PlayerSheet& sheet) const;
    // Puts a value given as text ("Aggresive", "42", "true", "12.5") into the sheet
    // after the field's one check; throws FieldValueError naming the key.
    void set(PlayerSheet& sheet, std::string_view text) const;
    // The sheet's raw editor value: a list index, slider value, box state or text.
    int number(const PlayerSheet& sheet) const;
    const std::string& text(const PlayerSheet& sheet) const;
};

// Every field in the order of the player object and of CSV columns.
const std::vector<Field>& fieldRegistry();
const Field* findField(std::string_view key);
// The field a statistics box shows for `format`.
const Field& statisticsField(int format, Figure figure);

// A sheet whose every editor shows nothing: lists -1, sliders and boxes -1, texts
// empty. Show steps run on it leave the fields they do not show recognisable.
PlayerSheet unshownSheet();

// A whole number written in decimal digits only ("0010" is 10, never octal), from
// `low` to `high`; nothing for any other text.
std::optional<int> wholeNumber(std::string_view text, int low, int high);

} // namespace qb
