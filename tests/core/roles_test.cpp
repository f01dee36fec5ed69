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
        PlayerSheet state;
        readBattingRole(positionByte, styleByte, state);
        EXPECT_EQ(state.battingPosition, position) << positionByte << "/" << styleByte;
        EXPECT_EQ(state.battingStyle, style) << positionByte << "/" << styleByte;
    }
    const std::array<int, 3> bowling[] = {{0x23, 3, 2}, {9, 9, 0},    {16, 0, 1},
                                          {12, -1, -1}, {26, -1, -1}, {48, -1, -1}};
    for (const auto& [code, style, mentality] : bowling) {
        PlayerSheet state;
        readBowlingRole(code, state);
        EXPECT_EQ(state.bowlingStyle, style) << code;
        EXPECT_EQ(state.bowlingMentality, mentality) << code;
    }
    PlayerSheet state;
    readFieldingRole(0xAD, 0x52, state);
    EXPECT_EQ((std::array{state.battingHand, state.fieldingHand, state.fieldingPosition1,
                          state.fieldingPosition2}),
              (std::array{1, 1, 5, 5}));
    PlayerSheet refused;
    refused.fieldingHand = 0;
    EXPECT_THAT([&] { readFieldingRole(0x01, 0x04, refused); }, // position 2 would be 8
                testing::Throws<ShowError>(test::InField("roles.fieldingPosition2")));
    EXPECT_EQ(refused.battingHand, 1); // set before the failing list
    EXPECT_EQ(refused.fieldingHand, 0);
}

TEST(Roles, StoreWritesRolesAndTheRatingBitsTheyShare) {
    PlayerSheet state;
    state.battingPosition = 3;
    state.battingStyle = 1;
    state.fieldingRatings[kTemperamentRating] = 45;
    state.fieldingRatings[kConsistencyRating] = 50;
    Record r{};
    r[106] = 0x70; // bits 4-6 are written 0
    writeBattingRole(state, r);
    EXPECT_EQ((std::array<int, 4>{r[104], r[105], r[106], r[107]}), (std::array{120, 43, 131, 9}));
    for (int style = 0; style < 10; ++style) { // byte 109 bit 1: a left-arm style
        state.bowlingStyle = style;
        r[109] = 0x42; // bit 6 is written 0; bit 1 is recomputed
        writeFieldingRole(state, r);
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
    PlayerSheet state; // every list unselected, ratings 0
    state.fieldingRatings[kConsistencyRating] = 17;
    state.fieldingRatings[kSpeedRating] = 3;
    writeBattingRole(state, r);
    writeBowlingRole(state, r);
    writeFieldingRole(state, r);
    EXPECT_EQ((std::array<int, 5>{r[106], r[107], r[108], r[109], r[110]}),
              (std::array{0x81, 0x11, 0x23, 0xAD, 0x32})); // 0x81: 0x80 + 17 / 16
    state.battingPosition = 2; // a position without a style keeps the stored style
    writeBattingRole(state, r);
    EXPECT_EQ(r[107], 0x11);
}

} // namespace
} // namespace qb
