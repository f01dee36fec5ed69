#include "codecs/codec_errors.h"
#include "codecs/statistics.h"
#include "support/error_matchers.h"
#include "support/roster_maker.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using testing::AllOf;
using testing::Throws;

PlayerSheet shownFormat(const Record& r, int format) {
    PlayerSheet state;
    state.statisticsFormat = format;
    ShowStatistics(state, r);
    return state;
}

TEST(Statistics, ShownFigures) {
    struct Row {
        Record record;
        int format;
        std::string PlayerSheet::*box;
        const char* text;
    };
    const Row rows[] = {
        {test::recordWith({{48, 0x2C}, {49, 0x01}}), 2, &PlayerSheet::innings, "300"},
        {test::recordWith({{119, 29}, {118, 0xA8}}), 0, &PlayerSheet::highestScore, "150"},
        {test::recordWith({{119, 2}, {118, 0x71}}), 0, &PlayerSheet::highestScore, "156.25"},
        {test::recordWith({{119, 29}, {118, 0xAA}}), 0, &PlayerSheet::highestScore, "149.5"},
        {test::recordWith({{125, 5}, {124, 10}}), 2, &PlayerSheet::highestScore, "758"},
        {test::recordWith({{129, 0x0B}, {130, 0x01}}), 0, &PlayerSheet::bestBowlingRuns, "66.75"},
        {test::recordWith({{88, 0xC3}}), 1, &PlayerSheet::bestBowlingWickets, "3"},
        {test::recordWith({{88, 0xC0}, {89, 0x0F}}), 2, &PlayerSheet::bestBowlingWickets, "31"},
    };
    for (const Row& row : rows) {
        Record r = row.record;
        EXPECT_EQ(shownFormat(r, row.format).*row.box, row.text) << row.text;
    }
}

// Every stored figure at a value of its own, and the bytes that hold it: the packed
// figures of each format, and the 14-byte block of the first.
TEST(Statistics, EveryFigureIsShownFromAndStoredToItsOwnBits) {
    using Boxes = std::vector<std::string PlayerSheet::*>;
    const Boxes packed = {&PlayerSheet::highestScore, &PlayerSheet::battingAverage,
                          &PlayerSheet::bowlingAverage, &PlayerSheet::bestBowlingRuns,
                          &PlayerSheet::bestBowlingWickets};
    const Boxes block = {&PlayerSheet::innings,     &PlayerSheet::notOuts,
                         &PlayerSheet::overs,       &PlayerSheet::wickets,
                         &PlayerSheet::bowlingRuns, &PlayerSheet::battingRuns,
                         &PlayerSheet::fifties,     &PlayerSheet::hundreds};
    struct Row {
        int format;
        const Boxes& boxes;
        std::vector<const char*> texts;
        std::vector<int> bytes; // offset, value, offset, value, ...
    };
    // clang-format off
    const Row rows[] = {
        {0, packed, {"517", "167", "1337", "1500", "10"},
         {87, 0x0A, 118, 0x14, 119, 0x08, 120, 0xA7, 129, 0x70, 130, 0x37, 131, 0xA7}},
        {1, packed, {"600", "1234", "201", "1001", "9"},
         {88, 0x09, 121, 0x60, 122, 0x49, 123, 0x9A, 132, 0xE9, 133, 0x4B, 134, 0x06}},
        {2, packed, {"1111", "777", "123", "1789", "13"},
         {88, 0x40, 89, 0x03, 124, 0x57, 125, 0x4C, 126, 0x18, 134, 0xA0, 135, 0xDF, 136, 0x7B}},
        {3, packed, {"1500", "77", "1999", "1200", "11"},
         {89, 0xB0, 126, 0x80, 127, 0xBB, 128, 0x4D, 137, 0xC0, 138, 0xF2, 139, 0xF9}},
        {0, block, {"300", "45", "2345", "321", "9876", "12345", "67", "23"},
         {20, 0x2C, 21, 0x01, 22, 0x2D, 24, 0x29, 25, 0x09, 26, 0x41, 27, 0x01, 28, 0x94, 29, 0x26,
          30, 0x39, 31, 0x30, 32, 0x43, 33, 0x17}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.texts[0]);
        Record bytes{};
        for (std::size_t i = 0; i < row.bytes.size(); i += 2) {
            bytes[static_cast<std::size_t>(row.bytes[i])] =
                static_cast<std::uint8_t>(row.bytes[i + 1]);
        }
        Record shown = bytes;
        const PlayerSheet state = shownFormat(shown, row.format);
        PlayerSheet typed;
        for (std::size_t i = 0; i < row.boxes.size(); ++i) {
            EXPECT_EQ(state.*row.boxes[i], row.texts[i]) << i;
            typed.*row.boxes[i] = row.texts[i];
        }
        Record stored{};
        StoreStatistics(typed, stored, row.format);
        EXPECT_EQ(stored, bytes);
    }
}

TEST(Statistics, OneDayComplementIsShownPlainAndStoredPlain) {
    Record r = test::recordWith({{127, 237}, {126, 0x40}});
    const PlayerSheet shown = shownFormat(r, 3);
    EXPECT_EQ(shown.highestScore, "154");
    EXPECT_EQ(r[127], 237); // showing changes nothing
    PlayerSheet kept = shown;
    kept.highestScore.clear(); // an empty box keeps the stored figure
    for (const PlayerSheet& sheet : {shown, kept}) {
        Record stored = r;
        StoreStatistics(sheet, stored, 3);
        EXPECT_EQ(stored[127], 19);
    }
}

TEST(Statistics, SixteenBitFigureOf32768StopsTheDisplay) {
    Record r = test::recordWith({{22, 0x00}, {23, 0x80}});
    PlayerSheet state;
    state.overs = "old";
    EXPECT_THAT(
        [&] { ShowStatistics(state, r); },
        Throws<ShowError>(AllOf(test::InField("statistics.Test.notOuts"), test::Says("Overflow"))));
    EXPECT_EQ(state.innings, "0");
    EXPECT_EQ(state.overs, "old");
}

TEST(Statistics, StoredBytes) {
    struct Row {
        int format;
        std::string PlayerSheet::*box;
        const char* text;
        Record before;
        std::vector<std::pair<int, int>> expected;
    };
    // clang-format off
    const Row rows[] = {
        {0, &PlayerSheet::highestScore, "156.25", test::recordWith({{118, 3}}),
         {{119, 2}, {118, 0x70}}},
        {1, &PlayerSheet::bestBowlingWickets, "4", test::recordWith({{88, 0xC3}}), {{88, 0xC4}}},
        {3, &PlayerSheet::bestBowlingWickets, "5", test::recordWith({{89, 0x0F}}), {{89, 0x53}}},
        {2, &PlayerSheet::bestBowlingWickets, "13", test::recordWith({{88, 0x3F}, {89, 0xF8}}),
         {{88, 0x7F}, {89, 0xF3}}},
        {1, &PlayerSheet::battingAverage, "2047", test::recordWith({{122, 0x1F}}),
         {{122, 0xFF}, {123, 0xFF}}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        PlayerSheet state; // every other box is empty and keeps its figure
        state.*row.box = row.text;
        Record r = row.before;
        StoreStatistics(state, r, row.format);
        Record expected = row.before;
        for (const auto& [offset, value] : row.expected) {
            expected[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value);
        }
        EXPECT_EQ(r, expected);
    }
}

TEST(Statistics, BadValuesRefuseTheWholeStore) {
    struct Row {
        int format;
        std::string PlayerSheet::*box;
        const char* text;
        const char* field;
        const char* limit;
    };
    const Row rows[] = {
        {0, &PlayerSheet::battingAverage, "256", "statistics.Test.battingAverage", "255"},
        {0, &PlayerSheet::highestScore, "640", "statistics.Test.highestScore", "639"},
        {2, &PlayerSheet::highestScore, "1280", "statistics.First Class.highestScore", "1279"},
        {3, &PlayerSheet::highestScore, "1608", "statistics.One Day.highestScore", "1607"},
        {1, &PlayerSheet::bestBowlingWickets, "16",
         "statistics.One Day International.bestBowlingWickets", "15"},
        {0, &PlayerSheet::innings, "32768", "statistics.Test.innings", "32767"},
        {0, &PlayerSheet::innings, "12a", "statistics.Test.innings", "32767"},
        {0, &PlayerSheet::overs, "-3", "statistics.Test.overs", "32767"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        PlayerSheet state;
        state.wickets = "7";
        state.*row.box = row.text;
        Record r{};
        EXPECT_THAT([&] { StoreStatistics(state, r, row.format); },
                    Throws<StoreError>(AllOf(
                        test::InField(row.field),
                        testing::Property(&std::exception::what, testing::HasSubstr(row.limit)))));
        EXPECT_EQ(r, Record{});
    }
}

TEST(Statistics, Rates) {
    PlayerSheet state;
    state.overs = "10";
    state.wickets = "4";
    state.bowlingRuns = "38";
    UpdateRates(state);
    EXPECT_EQ(state.strikeRate, "15.00");
    EXPECT_EQ(state.economyRate, "3.80");
    state.wickets = "0";
    state.overs = "";
    UpdateRates(state);
    EXPECT_EQ(state.strikeRate, "");
    EXPECT_EQ(state.economyRate, "");
}

} // namespace
} // namespace qb
