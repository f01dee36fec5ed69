#include "codecs/codec_errors.h"
#include "codecs/flags.h"
#include "codecs/ratings.h"
#include "codecs/roles.h"
#include "support/error_matchers.h"
#include "support/roster_maker.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

// Every rating at a value of its own, and the bytes that hold them (six-bit fields of the
// 24-bit groups, whole bytes, and bits shared with the roles).
constexpr std::array<int, 13> kBatting = {14, 43, 9, 38, 4, 33, 62, 28, 57, 23, 52, 18, 47};
constexpr std::array<int, 14> kBowling = {13, 42, 8, 37, 3, 32, 61, 27, 56, 22, 51, 17, 46, 12};
constexpr std::array<int, 9> kFielding = {41, 7, 36, 39, 31, 60, 45, 53, 21};
const Record kRatingBytes = test::recordWith(
    {{76, 0xAB},  {77, 0x49},  {78, 0x84},  {79, 0x3E},  {80, 0x5C},  {81, 0x7E},  {82, 0xD1},
     {83, 0x12},  {84, 0xAF},  {85, 0x53},  {86, 0x25},  {90, 0x34},  {91, 0x2A},  {92, 0x48},
     {93, 0x39},  {94, 0x80},  {95, 0x3D},  {96, 0x1B},  {97, 0x6E},  {98, 0xCD},  {99, 0x11},
     {100, 0x2E}, {101, 0x93}, {102, 0x1E}, {103, 0x24}, {104, 0x78}, {105, 0x5B}, {106, 0x03},
     {110, 0x75}, {111, 0x7E}, {112, 0x3C}});

TEST(Ratings, EveryRatingIsShownFromAndStoredToItsOwnBits) {
    PlayerSheet sheet; // every list unselected: role bits are kept
    showRatings(kRatingBytes, sheet);
    EXPECT_EQ(sheet.battingRatings, kBatting);
    EXPECT_EQ(sheet.bowlingRatings, kBowling);
    EXPECT_EQ(sheet.fieldingRatings, kFielding);
    // Bits 0-1 of 90 and 6-7 of 103 are written 0; 110 bits 0-3 are a fielding position.
    Record r = test::recordWith({{90, 0x03}, {103, 0xC0}, {110, 0x05}});
    storeBattingRole(sheet, r);
    storeFieldingRole(sheet, r);
    storeRatings(sheet, r);
    EXPECT_EQ(r, kRatingBytes);
}

TEST(Ratings, AValueAbove63StopsTheSlidersAfterIt) {
    PlayerSheet sheet;
    sheet.bowlingRatings.fill(50);
    sheet.fieldingRatings.fill(50);
    const Record r = test::recordWith({{91, 64}, {90, 8}});
    EXPECT_THAT([&] { showRatings(r, sheet); }, testing::Throws<ShowError>(testing::AllOf(
                                                    test::InField("ratings.bowling.Bowl to LHand"),
                                                    test::Says("Invalid property value"))));
    EXPECT_EQ(sheet.bowlingRatings[0], 2);  // before it: the new player
    EXPECT_EQ(sheet.bowlingRatings[1], 50); // it and after: the previous player
    EXPECT_EQ(sheet.fieldingRatings[5], 50);
    EXPECT_THROW(showRatings(test::recordWith({{106, 0x04}}), sheet), ShowError);
    const std::pair<int, int> percents[] = {{3, 6},    {4, 7},  {8, 12}, {47, 74},
                                            {63, 100}, {64, 0}, {65, 2}, {130, 4}};
    for (const auto& [rating, percent] : percents) {
        EXPECT_EQ(ratingPercent(rating), percent) << rating;
    }
}

TEST(Flags, ShownFromTheirBits) {
    PlayerSheet sheet;
    showSkills(test::recordWith({{196, 0x01}, {197, 0x80}, {198, 2}}), sheet);
    showShotFlags(test::recordWith({{188, 0x81}, {192, 0x10}, {193, 0xE3}}), sheet);
    for (int i = 1; i <= 21; ++i) {
        const auto at = static_cast<std::size_t>(i);
        EXPECT_EQ(i <= 17 ? sheet.skills[at] : 0, i == 1 || i == 16 ? 1 : i == 17 ? 2 : 0) << i;
        EXPECT_EQ(sheet.shots[at], i == 1 || i == 8 || i == 13 || i == 17 || i == 18 ? 1 : 0) << i;
    }
    EXPECT_THROW(showSkills(test::recordWith({{198, 3}}), sheet), ShowError);
}

TEST(Flags, StoreRewritesTheirBytesAndClearsTheSpareBitsOf193) {
    const Record loaded = test::recordWith(
        {{188, 0x5A}, {192, 0xC3}, {193, 0xE3}, {196, 0x34}, {197, 0x92}, {198, 2}});
    PlayerSheet sheet;
    showSkills(loaded, sheet);
    showShotFlags(loaded, sheet);
    Record working = loaded;
    storeShotFlags(sheet, working);
    storeSkills(sheet, working);
    Record expected = loaded;
    expected[193] = 0x03;
    EXPECT_EQ(working, expected);
    sheet.skills[kInjuryFreeIndex] = 3; // the box has three states, 0 to 2
    EXPECT_THROW(storeSkills(sheet, working), StoreError);
    EXPECT_EQ(working, expected);
}

} // namespace
} // namespace qb
