#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// The fixed choice lists, filled in this order and never sorted. The entry index is
// the stored code unless a code table says otherwise.
inline constexpr std::array<std::string_view, 14> kNationCodes = {"AUS", "BAN", "CAN", "ENG", "IND",
                                                                  "KEN", "NAM", "NED", "NZL", "PAK",
                                                                  "SAF", "SRL", "WIN", "ZIM"};
// The countries the codes stand for, in the same order (what the game's flags show).
inline constexpr std::array<std::string_view, 14> kNationNames = {
    "Australia",    "Bangladesh", "Canada",      "England",     "India",
    "Kenya",        "Namibia",    "Netherlands", "New Zealand", "Pakistan",
    "South Africa", "Sri Lanka",  "West Indies", "Zimbabwe"};
inline constexpr std::array<std::string_view, 4> kHairColours = {"Brown", "Black", "Blonde",
                                                                 "Grey"};
// Hair colour "Grey" is stored as 8, not 3.
inline constexpr std::array<std::uint8_t, 4> kHairColourCodes = {0, 1, 2, 8};
inline constexpr std::array<std::string_view, 6> kFacialHair = {
    "None", "Beard & Moustache", "Moustache", "Beard", "Goatee", "Moustache & Goatee"};
// The number lists hold "0" up to count - 1.
inline constexpr int kFaceCount = 25;
inline constexpr int kBodyTypeCount = 12;
inline constexpr int kHairStyleCount = 13;
inline constexpr int kBatCount = 34;

inline constexpr std::array<std::string_view, 4> kBattingPositions = {"Opener", "Middle Order",
                                                                      "Lower Order", "Tailender"};
inline constexpr std::array<std::string_view, 3> kBattingStyles = {"Aggressive", "Moderate",
                                                                   "Defensive"};
inline constexpr std::array<std::string_view, 2> kHands = {"Right", "Left"};
inline constexpr std::array<std::string_view, 10> kBowlingStyles = {
    "Leg Spin",      "Off Spin",         "Left Arm Spin",
    "Chinaman",      "Left Arm Medium",  "Left Arm Medium Fast",
    "Left Arm Fast", "Right Arm Medium", "Right Arm Medium Fast",
    "Right Arm Fast"};
// The middle entry is spelled with one s, as the game's players know it.
inline constexpr std::array<std::string_view, 3> kBowlingMentalities = {"Moderate", "Aggresive",
                                                                        "Defensive"};
inline constexpr std::array<std::string_view, 8> kFieldingPositions1 = {
    "General", "Wicket Keeper", "Slips", "Cover", "Out Fielder", "Gully", "Close In", "Square Leg"};
inline constexpr std::array<std::string_view, 8> kFieldingPositions2 = {
    "General",     "Wicket Keeper", "Slips",    "Covers",
    "Out Fielder", "Gully",         "Close In", "Square Leg"};
inline constexpr std::array<std::string_view, 4> kStatisticsFormats = {
    "Test", "One Day International", "First Class", "One Day"};

// Bowling styles 2 to 6 are left-arm: storing one sets bit 1 of byte 109.
bool isLeftArmStyle(int styleIndex);

// ---- Ratings ----------------------------------------------------------------

enum class RatingTab { Batting, Bowling, Fielding };
inline constexpr std::array<int, 3> kRatingCounts = {13, 14, 9};

// How a rating is kept in the record.
enum class RatingStorage {
    Group,       // 6 bits at `shift` of the 24-bit little-endian group at `offset`
    Byte,        // the whole byte at `offset`
    ByteBits,    // 6 bits at `shift` of the byte at `offset`; the byte's other bits are written 0
    Speed,       // bits 0-3 in byte 110 bits 4-7, bits 4-5 in byte 111 bits 0-1
    Temperament, // bits 0-1 in byte 104 bits 6-7, bits 2-5 in byte 105 bits 0-3
    Consistency, // bits 0-3 in byte 105 bits 4-7, bits 4-7 in byte 106 bits 0-3
};

struct RatingLocation {
    RatingTab tab;
    int index; // slider index within its tab
    std::string_view caption;
    RatingStorage storage;
    int offset;
    int shift;
};

// All 36 ratings, in the order the sliders are shown.
extern const std::array<RatingLocation, 36> kRatingLocations;

// The captions of one tab's sliders, by slider index.
std::vector<std::string_view> ratingCaptions(RatingTab tab);
std::string_view ratingTabKey(RatingTab tab); // "batting", "bowling", "fielding"
std::string ratingKey(const RatingLocation& location);

// Fielding frames: sliders 0-5 stand in "Fielding", 6-8 in "Miscellaneous".
inline constexpr int kFirstMiscellaneousRating = 6;

// Indexes of the fielding sliders whose bits live in the role bytes.
inline constexpr int kSpeedRating = 3;
inline constexpr int kThrowingRating = 4;
inline constexpr int kTemperamentRating = 6;
inline constexpr int kConsistencyRating = 7;

// ---- Skill and shot flags ---------------------------------------------------

// The two check-box groups: the skills and the shots (batting weaknesses and favourite
// shots).
enum class FlagControl { Skills, Shots };

struct FlagBit {
    FlagControl control;
    int index; // check box index, 1-based
    std::string_view frame;
    std::string_view caption;
    int offset; // first byte of the run; a run of 16 is the little-endian word at offset
    int bit;    // bit within the run
};

// The 37 single-bit flags, by control and index. "Injury Free" (skill 17) is the
// whole byte 198 and is not in this table.
extern const std::array<FlagBit, 37> kFlagBits;
inline constexpr int kInjuryFreeIndex = 17;
inline constexpr int kInjuryFreeOffset = 198;
inline constexpr std::string_view kInjuryFreeCaption = "Injury Free";
inline constexpr std::string_view kInjuryFreeFrame = "General";

std::string flagKey(const FlagBit& flag);

// True for a record offset that some field shows or stores: the ID (0-1), commentary
// number, name, statistics, ratings and roles (2-112, 118-139), the flag bytes (188,
// 192-193, 196-198), appearance (205-210) and nation (216-217). The rest of the record
// is carried unread.
bool isFieldOffset(int offset);

} // namespace qb
