#include "player/field_registry.h"

#include "codecs/field_keys.h"
#include "codecs/flags.h"
#include "codecs/identity.h"
#include "codecs/ratings.h"
#include "codecs/tables.h"
#include "roster/codepage.h"
#include "system/quoted_text.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace qb {
namespace {

int parseWhole(const Field& field, std::string_view text) {
    const std::optional<int> value = wholeNumber(text, field.low, field.high);
    if (!value) {
        throw FieldValueError(field.key, text,
                              "a whole number from " + std::to_string(field.low) + " to " +
                                  std::to_string(field.high));
    }
    return *value;
}

// Trimmed, at most 15 characters, no control character, every character with a
// Windows-1252 code: what the name's store step keeps.
std::string checkedName(const Field& field, std::string_view text) {
    std::string name = trimName(text);
    const std::u32string chars = utf8ToChars(name);
    if (chars.size() > NAME_MAX_CHARS) {
        throw FieldValueError(field.key, text, "at most 15 characters");
    }
    if (const auto refusal = nameRefusal(name)) {
        throw FieldValueError(field.key, text, *refusal);
    }
    if (!std::ranges::all_of(chars, [](char32_t ch) { return encodeCp1252(ch).has_value(); })) {
        throw FieldValueError(field.key, text, "characters of the game's code page (Windows-1252)");
    }
    return name;
}

int checkedChoice(const Field& field, std::string_view text) {
    const auto found = std::ranges::find(field.choices, text);
    if (found == field.choices.end()) {
        std::string expected = "one of";
        for (const std::string_view entry : field.choices) {
            expected += " \"" + std::string(entry) + "\"";
        }
        throw FieldValueError(field.key, text, expected);
    }
    return static_cast<int>(found - field.choices.begin());
}

int checkedFlag(const Field& field, std::string_view text) {
    if (text == "true" || text == "1") {
        return 1;
    }
    if (text == "false" || text == "0") {
        return 0;
    }
    throw FieldValueError(field.key, text, "true or false (1 or 0)");
}

std::string checkedFigure(const Field& field, std::string_view text) {
    if (!storedFigure(text, field.high)) {
        throw FieldValueError(field.key, text, "a number from 0 to " + std::to_string(field.high));
    }
    return std::string(text);
}

// A figure shown with a fraction keeps it; an empty box is nothing.
FieldValue figureValue(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    if (text.find('.') != std::string::npos) {
        return std::stod(text);
    }
    return std::stoll(text);
}

template <typename Member>
std::function<SheetCell(PlayerSheet&)> member(Member PlayerSheet::*pointer) {
    return [pointer](PlayerSheet& sheet) -> SheetCell { return &(sheet.*pointer); };
}

void addIdentity(std::vector<Field>& fields) {
    using enum FieldKind;
    using G = FieldGroup;
    const auto list = [&fields](std::string key, FieldGroup group, std::string caption,
                                int PlayerSheet::*pointer, auto entries) {
        fields.push_back({std::move(key), group, Choice, std::move(caption), -1, entries, 0,
                          static_cast<int>(entries.size()) - 1, member(pointer)});
    };
    const auto numbers = [&fields](std::string key, std::string caption, int PlayerSheet::*pointer,
                                   int count) {
        fields.push_back({std::move(key),
                          G::Appearance,
                          NumberList,
                          std::move(caption),
                          -1,
                          {},
                          0,
                          count - 1,
                          member(pointer)});
    };
    fields.push_back({std::string(keys::kName),
                      G::Identity,
                      Text,
                      "Player Na&me",
                      -1,
                      {},
                      0,
                      NAME_MAX_CHARS,
                      member(&PlayerSheet::name)});
    list(std::string(keys::kNation), G::Identity, "Countr&y", &PlayerSheet::nation,
         std::span(kNationCodes));
    fields.push_back({std::string(keys::kCommentary),
                      G::Identity,
                      Number,
                      "Comm&entary Number",
                      -1,
                      {},
                      0,
                      kCommentaryNameCount,
                      member(&PlayerSheet::commentary)});
    numbers(std::string(keys::kFace), "Face", &PlayerSheet::face, kFaceCount);
    numbers(std::string(keys::kBodyType), "Body &Type", &PlayerSheet::bodyType, kBodyTypeCount);
    list(std::string(keys::kHairColour), G::Appearance, "Ha&ir Colour", &PlayerSheet::hairColour,
         std::span(kHairColours));
    numbers(std::string(keys::kHairStyle), "&Hair Style", &PlayerSheet::hairStyle, kHairStyleCount);
    list(std::string(keys::kFacialHair), G::Appearance, "Facia&l Hair", &PlayerSheet::facialHair,
         std::span(kFacialHair));
    numbers(std::string(keys::kBat), "Bat", &PlayerSheet::bat, kBatCount);
    list(std::string(keys::kBattingPosition), G::Roles, "Pos&ition", &PlayerSheet::battingPosition,
         std::span(kBattingPositions));
    list(std::string(keys::kBattingStyle), G::Roles, "St&yle", &PlayerSheet::battingStyle,
         std::span(kBattingStyles));
    list(std::string(keys::kBattingHand), G::Roles, "&Handed", &PlayerSheet::battingHand,
         std::span(kHands));
    list(std::string(keys::kBowlingStyle), G::Roles, "Sty&le", &PlayerSheet::bowlingStyle,
         std::span(kBowlingStyles));
    list(std::string(keys::kBowlingMentality), G::Roles, "&Mentality",
         &PlayerSheet::bowlingMentality, std::span(kBowlingMentalities));
    list(std::string(keys::kFieldingPosition1), G::Roles, "Position &1",
         &PlayerSheet::fieldingPosition1, std::span(kFieldingPositions1));
    list(std::string(keys::kFieldingPosition2), G::Roles, "Posi&tion 2",
         &PlayerSheet::fieldingPosition2, std::span(kFieldingPositions2));
    list(std::string(keys::kFieldingHand), G::Roles, "Hand&ed", &PlayerSheet::fieldingHand,
         std::span(kHands));
}

void addRatings(std::vector<Field>& fields) {
    for (const RatingTab tab : {RatingTab::Batting, RatingTab::Bowling, RatingTab::Fielding}) {
        const std::vector<std::string_view> captions = ratingCaptions(tab);
        for (std::size_t index = 0; index < captions.size(); ++index) {
            const auto i = static_cast<int>(index);
            fields.push_back(
                {"ratings." + std::string(ratingTabKey(tab)) + "." + std::string(captions[index]),
                 FieldGroup::Ratings,
                 FieldKind::Rating,
                 std::string(captions[index]),
                 -1,
                 {},
                 0,
                 kMaxRating,
                 [tab, i](PlayerSheet& sheet) -> SheetCell {
                     return &ratingSlider(sheet, tab, i);
                 }});
        }
    }
}

// Skills in index order (Injury Free last, a three-state box), then the shot flags.
void addFlags(std::vector<Field>& fields) {
    const auto add = [&fields](FlagControl control, FieldGroup group) {
        for (const FlagBit& flag : kFlagBits) {
            if (flag.control == control) {
                fields.push_back({flagKey(flag),
                                  group,
                                  FieldKind::Flag,
                                  std::string(flag.caption),
                                  -1,
                                  {},
                                  0,
                                  1,
                                  [control, index = flag.index](PlayerSheet& sheet) -> SheetCell {
                                      return &flagBox(sheet, control, index);
                                  }});
            }
        }
    };
    add(FlagControl::Skills, FieldGroup::Skills);
    fields.push_back(
        {"skills." + std::string(kInjuryFreeCaption),
         FieldGroup::Skills,
         FieldKind::ThreeState,
         std::string(kInjuryFreeCaption),
         -1,
         {},
         0,
         2,
         [](PlayerSheet& sheet) -> SheetCell { return &sheet.skills[kInjuryFreeIndex]; }});
    add(FlagControl::Shots, FieldGroup::Shots);
}

void addStatistics(std::vector<Field>& fields) {
    for (int format = 0; format < kStatisticsFormatCount; ++format) {
        for (const StatisticsBox& box : kStatisticsBoxes) {
            fields.push_back({statisticsKey(format, box.figure),
                              FieldGroup::Statistics,
                              box.stored ? FieldKind::Statistic : FieldKind::Rate,
                              std::string(box.caption),
                              format,
                              {},
                              0,
                              box.stored ? figureLimit(format, box.figure) : 0,
                              member(box.box)});
        }
    }
}

std::vector<Field> makeRegistry() {
    std::vector<Field> fields;
    addIdentity(fields);
    addRatings(fields);
    addFlags(fields);
    addStatistics(fields);
    return fields;
}

} // namespace

FieldValueError::FieldValueError(const std::string& key, std::string_view value,
                                 const std::string& expected)
    : QuillbayError("Invalid value " + quotedText(value) + " for " + key + ": " + expected),
      key_(key) {}

bool Field::ranged() const {
    return kind != FieldKind::Text && kind != FieldKind::Choice && kind != FieldKind::Flag &&
           kind != FieldKind::Rate;
}

int Field::number(const PlayerSheet& sheet) const {
    return *std::get<int*>(cell(const_cast<PlayerSheet&>(sheet)));
}

const std::string& Field::text(const PlayerSheet& sheet) const {
    return *std::get<std::string*>(cell(const_cast<PlayerSheet&>(sheet)));
}

FieldValue Field::get(const PlayerSheet& sheet) const {
    switch (kind) {
    case FieldKind::Text:
        return text(sheet);
    case FieldKind::Number:
        return text(sheet).empty() ? FieldValue{} : FieldValue{std::stoll(text(sheet))};
    case FieldKind::Choice: {
        const int index = number(sheet);
        if (index < 0 || static_cast<std::size_t>(index) >= choices.size()) {
            return {};
        }
        return std::string(choices[static_cast<std::size_t>(index)]);
    }
    case FieldKind::Flag:
        return number(sheet) < 0 ? FieldValue{} : FieldValue{number(sheet) == 1};
    case FieldKind::Statistic:
        return figureValue(text(sheet));
    case FieldKind::Rate:
        return text(sheet).empty() ? FieldValue{} : FieldValue{text(sheet)};
    default: // number lists, ratings, Injury Free
        return number(sheet) < 0 ? FieldValue{} : FieldValue{static_cast<long long>(number(sheet))};
    }
}

void Field::set(PlayerSheet& sheet, std::string_view value) const {
    const SheetCell target = cell(sheet);
    switch (kind) {
    case FieldKind::Text:
        *std::get<std::string*>(target) = checkedName(*this, value);
        return;
    case FieldKind::Number:
        *std::get<std::string*>(target) = std::to_string(parseWhole(*this, value));
        return;
    case FieldKind::Choice:
        *std::get<int*>(target) = checkedChoice(*this, value);
        return;
    case FieldKind::Flag:
        *std::get<int*>(target) = checkedFlag(*this, value);
        return;
    case FieldKind::Statistic:
        *std::get<std::string*>(target) = checkedFigure(*this, value);
        return;
    case FieldKind::Rate:
        throw FieldValueError(key, value, "a figure computed from the others");
    default:
        *std::get<int*>(target) = parseWhole(*this, value);
        return;
    }
}

const std::vector<Field>& fieldRegistry() {
    static const std::vector<Field> fields = makeRegistry();
    return fields;
}

const Field* findField(std::string_view key) {
    const auto& fields = fieldRegistry();
    const auto found = std::ranges::find(fields, key, &Field::key);
    return found == fields.end() ? nullptr : &*found;
}

const Field& statisticsField(int format, Figure figure) {
    const Field* field = findField(statisticsKey(format, figure));
    if (field == nullptr) {
        throw std::out_of_range("no statistics field for that format and figure");
    }
    return *field;
}

PlayerSheet unshownSheet() {
    PlayerSheet sheet;
    sheet.battingRatings.fill(-1);
    sheet.bowlingRatings.fill(-1);
    sheet.fieldingRatings.fill(-1);
    sheet.skills.fill(-1);
    sheet.shots.fill(-1);
    return sheet;
}

std::optional<int> wholeNumber(std::string_view text, int low, int high) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt; // no sign, no spaces
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

} // namespace qb
