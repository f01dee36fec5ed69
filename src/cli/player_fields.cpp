#include "cli/player_fields.h"

#include "cli/cli_errors.h"
#include "codecs/flags.h"
#include "codecs/identity.h"
#include "codecs/ratings.h"
#include "codecs/statistics.h"
#include "codecs/tables.h"
#include "roster/codepage.h"
#include "roster/layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <span>

namespace qb::cli {
namespace {

[[noreturn]] void refuse(const std::string& key, std::string_view value,
                         const std::string& expected) {
    throw UsageError("Invalid value \"" + std::string(value) + "\" for " + key + ": " + expected);
}

int parseWhole(const std::string& key, std::string_view text, int low, int high) {
    const std::optional<int> value = wholeNumber(text, low, high);
    if (!value) {
        refuse(key, text,
               "a whole number from " + std::to_string(low) + " to " + std::to_string(high));
    }
    return *value;
}

Json indexOrNull(int index, auto entries) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) {
        return nullptr;
    }
    return std::string(entries[static_cast<std::size_t>(index)]);
}

PlayerField choiceField(std::string key, int PlayerSheet::*member,
                        std::span<const std::string_view> entries) {
    return {key,
            [member, entries](const PlayerSheet& s) { return indexOrNull(s.*member, entries); },
            [key, member, entries](PlayerSheet& s, std::string_view text) {
                const auto found = std::find(entries.begin(), entries.end(), text);
                if (found == entries.end()) {
                    std::string expected = "one of";
                    for (const std::string_view entry : entries) {
                        expected += " \"" + std::string(entry) + "\"";
                    }
                    refuse(key, text, expected);
                }
                s.*member = static_cast<int>(found - entries.begin());
            }};
}

PlayerField numberListField(std::string key, int PlayerSheet::*member, int count) {
    return {
        key,
        [member](const PlayerSheet& s) { return s.*member < 0 ? Json(nullptr) : Json(s.*member); },
        [key, member, count](PlayerSheet& s, std::string_view text) {
            s.*member = parseWhole(key, text, 0, count - 1);
        },
        -1, std::pair{0, count - 1}};
}

// Digits with at most one decimal point, whose nearest whole number (what the store
// keeps) is at most `limit`.
bool storableFigure(std::string_view text, int limit) {
    if (text.find_first_of("0123456789") == std::string_view::npos ||
        text.find_first_not_of("0123456789.") != std::string_view::npos ||
        std::count(text.begin(), text.end(), '.') > 1) {
        return false;
    }
    return std::nearbyint(std::strtod(std::string(text).c_str(), nullptr)) <= limit;
}

// A number shown with a fraction keeps it; an empty box is null.
Json figureJson(const std::string& text) {
    if (text.empty()) {
        return nullptr;
    }
    if (text.find('.') != std::string::npos) {
        return std::stod(text);
    }
    return std::stoll(text);
}

void addStatistics(std::vector<PlayerField>& fields) {
    for (int format = 0; format < kStatisticsFormatCount; ++format) {
        for (const StatisticsBox& box : kStatisticsBoxes) {
            const std::string key = statisticsKey(format, box.figure);
            const auto member = box.box;
            const int limit = figureLimit(format, box.figure);
            if (!box.stored) {
                fields.push_back({key,
                                  [member](const PlayerSheet& s) {
                                      return (s.*member).empty() ? Json(nullptr) : Json(s.*member);
                                  },
                                  nullptr, format});
                continue;
            }
            fields.push_back({key, [member](const PlayerSheet& s) { return figureJson(s.*member); },
                              [key, member, limit](PlayerSheet& s, std::string_view text) {
                                  if (!storableFigure(text, limit)) {
                                      refuse(key, text,
                                             "a number from 0 to " + std::to_string(limit));
                                  }
                                  s.*member = std::string(text);
                              },
                              format, std::pair{0, limit}});
        }
    }
}

std::vector<PlayerField> makeFields() {
    std::vector<PlayerField> fields;
    fields.push_back({"slot", nullptr, nullptr});
    fields.push_back({"id", nullptr, nullptr});
    fields.push_back({"name", [](const PlayerSheet& s) { return Json(s.name); },
                      [](PlayerSheet& s, std::string_view text) {
                          const std::string name = trimName(text);
                          const std::u32string chars = utf8ToChars(name);
                          if (chars.size() > NAME_MAX_CHARS) {
                              refuse("name", text, "at most 15 characters");
                          }
                          if (const auto refusal = nameRefusal(name)) {
                              refuse("name", text, *refusal);
                          }
                          for (const char32_t ch : chars) {
                              if (!encodeCp1252(ch)) {
                                  refuse("name", text,
                                         "characters of the game's code page (Windows-1252)");
                              }
                          }
                          s.name = name;
                      }});
    fields.push_back(choiceField("nation", &PlayerSheet::nation, kNationCodes));
    fields.push_back(
        {"commentary",
         [](const PlayerSheet& s) {
             return s.commentary.empty() ? Json(nullptr) : Json(std::stoi(s.commentary));
         },
         [](PlayerSheet& s, std::string_view text) {
             s.commentary = std::to_string(parseWhole("commentary", text, 0, kCommentaryNameCount));
         },
         -1, std::pair{0, kCommentaryNameCount}});
    fields.push_back({"commentaryName", nullptr, nullptr});
    fields.push_back(numberListField("appearance.face", &PlayerSheet::face, kFaceCount));
    fields.push_back(
        numberListField("appearance.bodyType", &PlayerSheet::bodyType, kBodyTypeCount));
    fields.push_back(choiceField("appearance.hairColour", &PlayerSheet::hairColour, kHairColours));
    fields.push_back(
        numberListField("appearance.hairStyle", &PlayerSheet::hairStyle, kHairStyleCount));
    fields.push_back(choiceField("appearance.facialHair", &PlayerSheet::facialHair, kFacialHair));
    fields.push_back(numberListField("appearance.bat", &PlayerSheet::bat, kBatCount));
    fields.push_back(
        choiceField("roles.battingPosition", &PlayerSheet::battingPosition, kBattingPositions));
    fields.push_back(choiceField("roles.battingStyle", &PlayerSheet::battingStyle, kBattingStyles));
    fields.push_back(choiceField("roles.battingHand", &PlayerSheet::battingHand, kHands));
    fields.push_back(choiceField("roles.bowlingStyle", &PlayerSheet::bowlingStyle, kBowlingStyles));
    fields.push_back(
        choiceField("roles.bowlingMentality", &PlayerSheet::bowlingMentality, kBowlingMentalities));
    fields.push_back(choiceField("roles.fieldingPosition1", &PlayerSheet::fieldingPosition1,
                                 kFieldingPositions1));
    fields.push_back(choiceField("roles.fieldingPosition2", &PlayerSheet::fieldingPosition2,
                                 kFieldingPositions2));
    fields.push_back(choiceField("roles.fieldingHand", &PlayerSheet::fieldingHand, kHands));

    for (const RatingTab tab : {RatingTab::Batting1, RatingTab::Bowling, RatingTab::Fielding}) {
        const std::vector<std::string_view> captions = ratingCaptions(tab);
        for (std::size_t index = 0; index < captions.size(); ++index) {
            const auto i = static_cast<int>(index);
            const std::string key =
                "ratings." + std::string(ratingTabKey(tab)) + "." + std::string(captions[index]);
            fields.push_back({key,
                              [tab, i](const PlayerSheet& s) {
                                  const int value = ratingSlider(s, tab, i);
                                  return value < 0 ? Json(nullptr) : Json(value);
                              },
                              [key, tab, i](PlayerSheet& s, std::string_view text) {
                                  ratingSlider(s, tab, i) = parseWhole(key, text, 0, kMaxRating);
                              },
                              -1, std::pair{0, kMaxRating}});
        }
    }

    // Skills in index order (Injury Free last, a check box state), then the shot flags.
    const auto addFlag = [&fields](const FlagBit& flag) {
        const std::string key = flagKey(flag);
        fields.push_back({key,
                          [flag](const PlayerSheet& s) {
                              const int box = flagBox(s, flag.control, flag.index);
                              return box < 0 ? Json(nullptr) : Json(box == 1);
                          },
                          [key, flag](PlayerSheet& s, std::string_view text) {
                              int value = -1;
                              if (text == "true" || text == "1") {
                                  value = 1;
                              } else if (text == "false" || text == "0") {
                                  value = 0;
                              } else {
                                  refuse(key, text, "true or false (1 or 0)");
                              }
                              flagBox(s, flag.control, flag.index) = value;
                          }});
    };
    for (const FlagBit& flag : kFlagBits) {
        if (flag.control == FlagControl::Skills) {
            addFlag(flag);
        }
    }
    const std::string injuryKey = "skills." + std::string(kInjuryFreeCaption);
    fields.push_back({injuryKey,
                      [](const PlayerSheet& s) {
                          const int box = s.skills[kInjuryFreeIndex];
                          return box < 0 ? Json(nullptr) : Json(box);
                      },
                      [injuryKey](PlayerSheet& s, std::string_view text) {
                          s.skills[kInjuryFreeIndex] = parseWhole(injuryKey, text, 0, 2);
                      },
                      -1, std::pair{0, 2}});
    for (const FlagBit& flag : kFlagBits) {
        if (flag.control == FlagControl::Batting2) {
            addFlag(flag);
        }
    }
    addStatistics(fields);
    fields.push_back({"errors", nullptr, nullptr});
    return fields;
}

} // namespace

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

const std::vector<PlayerField>& playerFields() {
    static const std::vector<PlayerField> fields = makeFields();
    return fields;
}

const PlayerField* findPlayerField(std::string_view key) {
    const auto& fields = playerFields();
    const auto found = std::find_if(fields.begin(), fields.end(),
                                    [key](const PlayerField& f) { return f.key == key; });
    return found == fields.end() ? nullptr : &*found;
}

PlayerSheet unshownState() {
    PlayerSheet s;
    s.battingRatings.fill(-1);
    s.bowlingRatings.fill(-1);
    s.fieldingRatings.fill(-1);
    s.skills.fill(-1);
    s.shots.fill(-1);
    return s;
}

} // namespace qb::cli
