#include "codecs/tables.h"

#include <algorithm>

namespace qb {

bool isLeftArmStyle(int styleIndex) {
    return styleIndex > 1 && styleIndex < 7;
}

using enum RatingTab;
using enum RatingStorage;

const std::array<RatingLocation, 36> kRatingLocations = {{
    {Batting, 1, "Concentration", Group, 76, 0},
    {Batting, 3, "Attack", Group, 76, 6},
    {Batting, 4, "Defense", Group, 76, 12},
    {Batting, 5, "OffSide", Group, 76, 18},
    {Batting, 6, "OnSide", Byte, 79, 0},
    {Batting, 7, "Straight", Group, 80, 0},
    {Batting, 8, "Front Foot", Group, 80, 6},
    {Batting, 9, "Back Foot", Group, 80, 12},
    {Batting, 10, "Versus Spin", Group, 80, 18},
    {Batting, 11, "Versus Pace", Byte, 83, 0},
    {Batting, 12, "Versus Swing", Group, 84, 0},
    {Batting, 0, "Skills", Group, 84, 6},
    {Fielding, 8, "Captaincy", Group, 84, 12},
    {Batting, 2, "Resiliance", Group, 84, 18},
    {Bowling, 0, "Special Ball", ByteBits, 90, 2},
    {Bowling, 1, "Bowl to LHand", Byte, 91, 0},
    {Bowling, 2, "Bowl to RHand", Group, 92, 0},
    {Bowling, 3, "Discipline", Group, 92, 6},
    {Bowling, 4, "Accuracy", Group, 92, 12},
    {Bowling, 5, "Seam Rating", Group, 92, 18},
    {Bowling, 6, "Bouncer", Byte, 95, 0},
    {Bowling, 7, "Slow Ball", Group, 96, 0},
    {Bowling, 8, "Spin Rating", Group, 96, 6},
    {Bowling, 9, "Arm Ball", Group, 96, 12},
    {Bowling, 10, "Googly", Group, 96, 18},
    {Bowling, 11, "Flipper", Byte, 99, 0},
    {Bowling, 12, "In Swing", Group, 100, 0},
    {Bowling, 13, "Out Swing", Group, 100, 6},
    {Fielding, 0, "Arm Strength", Group, 100, 12},
    {Fielding, 1, "Accuracy", Group, 100, 18},
    {Fielding, 2, "Agillity", ByteBits, 103, 0},
    {Fielding, 3, "Speed", Speed, 110, 4},
    {Fielding, 4, "Throwing", ByteBits, 111, 2},
    {Fielding, 5, "Catching", Byte, 112, 0},
    {Fielding, 6, "Temperament", Temperament, 104, 6},
    {Fielding, 7, "Consistency", Consistency, 105, 4},
}};

std::vector<std::string_view> ratingCaptions(RatingTab tab) {
    std::vector<std::string_view> captions(
        static_cast<std::size_t>(kRatingCounts[static_cast<std::size_t>(tab)]));
    for (const RatingLocation& location : kRatingLocations) {
        if (location.tab == tab) {
            captions[static_cast<std::size_t>(location.index)] = location.caption;
        }
    }
    return captions;
}

std::string_view ratingTabKey(RatingTab tab) {
    switch (tab) {
    case Batting:
        return "batting";
    case Bowling:
        return "bowling";
    case Fielding:
        return "fielding";
    }
    return "";
}

std::string ratingKey(const RatingLocation& location) {
    return "ratings." + std::string(ratingTabKey(location.tab)) + "." +
           std::string(location.caption);
}

using enum FlagControl;

const std::array<FlagBit, 37> kFlagBits = {{
    {Skills, 1, "Batting", "Defensive Wall", 196, 0},
    {Skills, 2, "Batting", "Driver", 196, 1},
    {Skills, 3, "Batting", "Stroke Maker", 196, 2},
    {Skills, 4, "Batting", "Slogger", 196, 3},
    {Skills, 5, "Batting", "Demon Hooker", 196, 4},
    {Skills, 6, "Batting", "Spin Expert", 196, 5},
    {Skills, 7, "Batting", "One Day Expert", 196, 6},
    {Skills, 8, "Bowling", "Breaker", 196, 7},
    {Skills, 9, "Bowling", "Strike Bowler", 196, 8},
    {Skills, 10, "Bowling", "Miser", 196, 9},
    {Skills, 11, "Bowling", "Trickster", 196, 10},
    {Skills, 12, "Bowling", "Workhorse", 196, 11},
    {Skills, 13, "Fielding", "Bullet Arm", 196, 12},
    {Skills, 14, "Fielding", "Acrobat", 196, 13},
    {Skills, 15, "Fielding", "Velcro Hands", 196, 14},
    {Skills, 16, "General", "Talisman", 196, 15},
    {Shots, 1, "Batting Weaknesses", "Googly", 188, 0},
    {Shots, 2, "Batting Weaknesses", "Sweeping", 188, 1},
    {Shots, 3, "Batting Weaknesses", "Short Pitch", 188, 2},
    {Shots, 4, "Batting Weaknesses", "Hooking Addict", 188, 3},
    {Shots, 5, "Batting Weaknesses", "Concentration", 188, 4},
    {Shots, 6, "Batting Weaknesses", "Yorker", 188, 5},
    {Shots, 7, "Batting Weaknesses", "Slow Ball", 188, 6},
    {Shots, 8, "Batting Weaknesses", "Outside Offstump", 188, 7},
    {Shots, 9, "Front Foot", "Square Drive", 192, 0},
    {Shots, 10, "Front Foot", "Cover Drive", 192, 1},
    {Shots, 11, "Front Foot", "Straight Drive", 192, 2},
    {Shots, 12, "Front Foot", "On Drive", 192, 3},
    {Shots, 13, "Front Foot", "Leg Glance", 192, 4},
    {Shots, 14, "Front Foot", "Sweep", 192, 5},
    {Shots, 15, "Back Foot", "Square Cut", 192, 6},
    {Shots, 16, "Back Foot", "Cover Drive", 192, 7},
    {Shots, 17, "Back Foot", "Straight Drive", 193, 0},
    {Shots, 18, "Back Foot", "On Drive", 193, 1},
    {Shots, 19, "Back Foot", "Hip Glance", 193, 2},
    {Shots, 20, "Back Foot", "Hook", 193, 3},
    {Shots, 21, "Back Foot", "Pull", 193, 4},
}};

bool isFieldOffset(int offset) {
    constexpr std::array<std::pair<int, int>, 7> kRanges = {
        {{0, 112}, {118, 139}, {188, 188}, {192, 193}, {196, 198}, {205, 210}, {216, 217}}};
    return std::any_of(kRanges.begin(), kRanges.end(), [offset](const auto& range) {
        return offset >= range.first && offset <= range.second;
    });
}

std::string flagKey(const FlagBit& flag) {
    if (flag.control == Skills) {
        return "skills." + std::string(flag.caption);
    }
    if (flag.frame == "Batting Weaknesses") {
        return "battingWeaknesses." + std::string(flag.caption);
    }
    const std::string foot = flag.frame == "Front Foot" ? "frontFoot" : "backFoot";
    return "favouriteShots." + foot + "." + std::string(flag.caption);
}

} // namespace qb
