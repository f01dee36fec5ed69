#include "codecs/codec_errors.h"
#include "codecs/roles.h"
#include "codecs/tables.h"
#include "support/error_matchers.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(Roles, ShownFromTheirCodes) {
    // Position byte, style byte, position, style; -1: the lists are left unchanged.
    const std::array<int, 4> batting[] = {{128, 9, 3, 1}, {130, 0, 1, 0},  {3, 16, 0, 2},
                                          {8, 1, 2, 0},   {255, 17, 3, 2}, {64, 0, -1, -1},
                                          {9, 0, -1, -1}, {0, 2, -1, -1},  {128, 24, -1, -1}};
    for (const auto& [positionByte, styleByte, position, style] : batting) {
        PlayerSheet sheet;
        showBattingRole(positionByte, styleByte, sheet);
        EXPECT_EQ(sheet.battingPosition, position) << positionByte << "/" << styleByte;
        EXPECT_EQ(sheet.battingStyle, style) << positionByte << "/" << styleByte;
    }
    const std::array<int, 3> bowling[] = {{0x23, 3, 2}, {9, 9, 0},    {16, 0, 1},
                                          {12, -1, -1}, {26, -1, -1}, {48, -1, -1}};
    for (const auto& [code, style, mentality] : bowling) {
        PlayerSheet sheet;
        showBowlingRole(code, sheet);
        EXPECT_EQ(sheet.bowlingStyle, style) << code;
        EXPECT_EQ(sheet.bowlingMentality, mentality) << code;
    }
    PlayerSheet sheet;
    showFieldingRole(0xAD, 0x52, sheet);
    EXPECT_EQ((std::array{sheet.battingHand, sheet.fieldingHand, sheet.fieldingPosition1,
                          sheet.fieldingPosition2}),
              (std::array{1, 1, 5, 5}));
    PlayerSheet refused;
    refused.fieldingHand = 0;
    EXPECT_THAT([&] { showFieldingRole(0x01, 0x04, refused); }, // position 2 would be 8
                testing::Throws<ShowError>(test::InField("roles.fieldingPosition2")));
    EXPECT_EQ(refused.battingHand, 1); // set before the failing list
    EXPECT_EQ(refused.fieldingHand, 0);
}

TEST(Roles, StoreWritesRolesAndTheRatingBitsTheyShare) {
    PlayerSheet sheet;
    sheet.battingPosition = 3;
    sheet.battingStyle = 1;
    sheet.fieldingRatings[kTemperamentRating] = 45;
    sheet.fieldingRatings[kConsistencyRating] = 50;
    Record r{};
    r[106] = 0x70; // bits 4-6 are written 0
    storeBattingRole(sheet, r);
    EXPECT_EQ((std::array<int, 4>{r[104], r[105], r[106], r[107]}), (std::array{120, 43, 131, 9}));
    for (int style = 0; style < 10; ++style) { // byte 109 bit 1: a left-arm style
        sheet.bowlingStyle = style;
        r[109] = 0x42; // bit 6 is written 0; bit 1 is recomputed
        storeFieldingRole(sheet, r);
        EXPECT_EQ(r[109], style >= 2 && style <= 6 ? 2 : 0) << style;
    }
}

TEST(Roles, UnselectedListsKeepTheirBitsAndRatingBitsAreReplaced) {
    Record r{};
    r[106] = 0x80 | 0x0F; // position bit set, stale Consistency bits
    r[107] = 0x11;
    r[108] = 0x23;
    r[109] = 0xAD;
    r[110] = 0x52;
    PlayerSheet sheet; // every list unselected, ratings 0
    sheet.fieldingRatings[kConsistencyRating] = 17;
    sheet.fieldingRatings[kSpeedRating] = 3;
    storeBattingRole(sheet, r);
    storeBowlingRole(sheet, r);
    storeFieldingRole(sheet, r);
    EXPECT_EQ((std::array<int, 5>{r[106], r[107], r[108], r[109], r[110]}),
              (std::array{0x81, 0x11, 0x23, 0xAD, 0x32})); // 0x81: 0x80 + 17 / 16
    sheet.battingPosition = 2; // a position without a style keeps the stored style
    storeBattingRole(sheet, r);
    EXPECT_EQ(r[107], 0x11);
}

} // namespace
} // namespace qb
