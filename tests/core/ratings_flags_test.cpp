#include "codecs/codec_errors.h"
#include "codecs/flags.h"
#include "codecs/ratings.h"
#include "codecs/roles.h"
#include "support/roster_maker.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(Ratings, ShownFromTheirPackedPlaces) {
    struct Row {
        Record record;
        RatingTab tab;
        int index;
        int value;
    };
    const Record group = test::recordWith({{76, 0x9D}, {77, 0xA3}, {78, 0x7E}});
    const Record speed = test::recordWith({{110, 0xA3}, {111, 0x85}});
    const Record speedOtherNibble = test::recordWith({{110, 0xAF}, {111, 0x85}});
    const Record temper = test::recordWith({{104, 0x78}, {105, 0x5B}, {106, 0x81}});
    const Record temperOtherLow = test::recordWith({{104, 0x47}, {105, 0x5B}, {106, 0x81}});
    const Row rows[] = {
        {group, RatingTab::Batting1, 1, 29},
        {group, RatingTab::Batting1, 3, 14},
        {group, RatingTab::Batting1, 4, 42},
        {group, RatingTab::Batting1, 5, 31},
        {speed, RatingTab::Fielding, 3, 26},
        {speed, RatingTab::Fielding, 4, 33},
        {speedOtherNibble, RatingTab::Fielding, 3, 26},
        {temper, RatingTab::Fielding, 6, 45},
        {temper, RatingTab::Fielding, 7, 21},
        {temperOtherLow, RatingTab::Fielding, 6, 45},
        {test::recordWith({{90, 0xFF}}), RatingTab::Bowling, 0, 63},
        {test::recordWith({{103, 0xC5}}), RatingTab::Fielding, 2, 5},
        {test::recordWith({{86, 0xFC}}), RatingTab::Batting1, 2, 63},
        {test::recordWith({{85, 0xF0}}), RatingTab::Fielding, 8, 15},
    };
    for (const Row& row : rows) {
        EditorState state;
        ShowRatings(row.record, state);
        EXPECT_EQ(ratingSlider(state, row.tab, row.index), row.value)
            << static_cast<int>(row.tab) << "/" << row.index;
    }
}

TEST(Ratings, StoredIntoTheirPackedPlaces) {
    EditorState state;
    state.sldBatting1[1] = 10;
    state.sldBatting1[3] = 20;
    state.sldBatting1[4] = 30;
    state.sldBatting1[5] = 40;
    state.sldBowling[0] = 63;
    state.sldFielding[kSpeedRating] = 26;
    state.sldFielding[kThrowingRating] = 33;
    Record r = test::recordWith({{90, 0x03}, {103, 0xC0}});
    StoreRatings(state, r);
    EXPECT_EQ(r[76], 0x0A);
    EXPECT_EQ(r[77], 0xE5);
    EXPECT_EQ(r[78], 0xA1);
    EXPECT_EQ(r[90], 252);
    EXPECT_EQ(r[103], 0);
    EXPECT_EQ(r[111], 0x85);
}

TEST(Ratings, EveryRatingRoundTripsAlone) {
    for (const RatingLocation& location : kRatingLocations) {
        for (const int value : {1, 37, 63}) {
            EditorState state;
            ratingSlider(state, location.tab, location.index) = value;
            Record r{};
            StoreBattingRole(state, r);
            StoreFieldingRole(state, r);
            StoreRatings(state, r);
            EditorState shown;
            ShowRatings(r, shown);
            EXPECT_EQ(shown.sldBatting1, state.sldBatting1) << location.caption;
            EXPECT_EQ(shown.sldBowling, state.sldBowling) << location.caption;
            EXPECT_EQ(shown.sldFielding, state.sldFielding) << location.caption;
        }
    }
}

TEST(Ratings, AValueAbove63StopsTheSlidersAfterIt) {
    EditorState state;
    state.sldBowling.fill(50);
    state.sldFielding.fill(50);
    const Record r = test::recordWith({{91, 64}, {90, 8}});
    try {
        ShowRatings(r, state);
        FAIL() << "shown";
    } catch (const ShowError& error) {
        EXPECT_EQ(error.field(), "ratings.bowling.Bowl to LHand");
        EXPECT_STREQ(error.what(), "Invalid property value");
    }
    EXPECT_EQ(state.sldBowling[0], 2);  // before it: the new player
    EXPECT_EQ(state.sldBowling[1], 50); // it and after: the previous player
    EXPECT_EQ(state.sldFielding[5], 50);
    EditorState consistency;
    EXPECT_THROW(ShowRatings(test::recordWith({{106, 0x04}}), consistency), ShowError);
}

TEST(Ratings, PercentTable) {
    const std::pair<int, int> rows[] = {{0, 0},    {3, 6},    {4, 7},  {8, 12}, {47, 74},
                                        {62, 100}, {63, 100}, {64, 0}, {65, 2}, {130, 4}};
    for (const auto& [rating, percent] : rows) {
        EXPECT_EQ(RatingPercent(rating), percent) << rating;
    }
}

TEST(Flags, ShownFromTheirBits) {
    EditorState state;
    ShowSkills(test::recordWith({{196, 0x01}, {197, 0x80}, {198, 2}}), state);
    for (int i = 1; i <= 16; ++i) {
        EXPECT_EQ(state.chkSkills[static_cast<std::size_t>(i)], i == 1 || i == 16 ? 1 : 0) << i;
    }
    EXPECT_EQ(state.chkSkills[kInjuryFreeIndex], 2);
    ShowShotFlags(test::recordWith({{188, 0x81}, {193, 0xE3}}), state);
    for (int i = 1; i <= 21; ++i) {
        const bool ticked = i == 1 || i == 8 || i == 17 || i == 18;
        EXPECT_EQ(state.chkBatting2[static_cast<std::size_t>(i)], ticked ? 1 : 0) << i;
    }
    EditorState refused;
    EXPECT_THROW(ShowSkills(test::recordWith({{198, 3}}), refused), ShowError);
}

TEST(Flags, StoreRewritesTheirBytesAndClearsTheSpareBitsOf193) {
    const Record loaded = test::recordWith(
        {{188, 0x5A}, {192, 0xC3}, {193, 0xE3}, {196, 0x34}, {197, 0x92}, {198, 2}});
    EditorState state;
    ShowSkills(loaded, state);
    ShowShotFlags(loaded, state);
    Record working = loaded;
    StoreShotFlags(state, working);
    StoreSkills(state, working);
    Record expected = loaded;
    expected[193] = 0x03;
    EXPECT_EQ(working, expected);
}

TEST(Flags, TableMatchesTheRuns) {
    EXPECT_EQ(kFlagBits.size() + 1, 38u);
    for (const FlagBit& flag : kFlagBits) {
        EditorState state;
        flagBox(state, flag.control, flag.index) = 1;
        Record r{};
        StoreShotFlags(state, r);
        StoreSkills(state, r);
        const int bitInFile = flag.offset * 8 + flag.bit;
        for (int byte = 188; byte <= 198; ++byte) {
            const int expected = byte == bitInFile / 8 ? 1 << (bitInFile % 8) : 0;
            EXPECT_EQ(r[static_cast<std::size_t>(byte)], expected)
                << flag.caption << " byte " << byte;
        }
    }
}

} // namespace
} // namespace qb
