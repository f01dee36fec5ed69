#include "codecs/codec_errors.h"
#include "codecs/statistics.h"
#include "support/error_matchers.h"
#include "support/roster_maker.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using testing::AllOf;
using testing::Throws;

// `r` with the bytes of a list of offset, value, offset, value, ...
Record with(Record r, const std::vector<int>& bytes) {
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        r[static_cast<std::size_t>(bytes[i])] = static_cast<std::uint8_t>(bytes[i + 1]);
    }
    return r;
}

PlayerSheet shownFormat(const Record& r, int format) {
    PlayerSheet sheet;
    sheet.statisticsFormat = format;
    showStatistics(sheet, r);
    return sheet;
}

// Every stored figure at a value of its own, and the bytes that hold it.
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
        std::vector<int> bytes;
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
        const Record bytes = with({}, row.bytes);
        const PlayerSheet sheet = shownFormat(bytes, row.format);
        PlayerSheet typed;
        for (std::size_t i = 0; i < row.boxes.size(); ++i) {
            EXPECT_EQ(sheet.*row.boxes[i], row.texts[i]) << i;
            typed.*row.boxes[i] = row.texts[i];
        }
        Record stored{};
        storeStatistics(typed, stored, row.format);
        EXPECT_EQ(stored, bytes);
    }
    // The rates follow the block's figures: overs * 6 / wickets, and runs / overs.
    const PlayerSheet rates = shownFormat(with({}, rows[4].bytes), 0);
    EXPECT_EQ(rates.strikeRate + " " + rates.economyRate, "43.83 4.21");
}

TEST(Statistics, SixteenBitFigureOf32768StopsTheDisplay) {
    Record r = test::recordWith({{22, 0x00}, {23, 0x80}});
    PlayerSheet sheet;
    sheet.overs = "old";
    EXPECT_THAT(
        [&] { showStatistics(sheet, r); },
        Throws<ShowError>(AllOf(test::InField("statistics.Test.notOuts"), test::Says("Overflow"))));
    EXPECT_EQ(sheet.innings, "0");
    EXPECT_EQ(sheet.overs, "old");
}

// One figure shown from its bytes, then typed (an empty box keeps the stored figure) and
// stored over the same bytes: only its own bits change.
TEST(Statistics, OneFigureShownAndStored) {
    struct Row {
        int format;
        std::string PlayerSheet::*box;
        std::vector<int> before;
        const char* shown;
        const char* typed; // nullptr: not stored
        std::vector<int> after;
    };
    using P = PlayerSheet;
    // clang-format off
    const Row rows[] = {
        {2, &P::innings, {48, 0x2C, 49, 0x01}, "300", nullptr, {}},
        {0, &P::highestScore, {119, 2, 118, 0x71}, "156.25", "156.25", {118, 0x70}},
        {0, &P::highestScore, {119, 29, 118, 0xAA}, "149.5", nullptr, {}},
        {3, &P::highestScore, {127, 237, 126, 0x40}, "154", "154", {127, 19}},
        {3, &P::highestScore, {127, 237, 126, 0x40}, "154", "", {127, 19}},
        {0, &P::bestBowlingRuns, {129, 0x0B, 130, 0x01}, "66.75", nullptr, {}},
        {1, &P::bestBowlingWickets, {88, 0xC3}, "3", "4", {88, 0xC4}},
        {2, &P::bestBowlingWickets, {88, 0xC0, 89, 0x0F}, "31", nullptr, {}},
        {3, &P::bestBowlingWickets, {89, 0x0F}, nullptr, "5", {89, 0x53}},
        {2, &P::bestBowlingWickets, {88, 0x3F, 89, 0xF8}, nullptr, "13", {88, 0x7F, 89, 0xF3}},
        {1, &P::battingAverage, {122, 0x1F}, nullptr, "2047", {122, 0xFF, 123, 0xFF}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.format) + " " + (row.typed ? row.typed : row.shown));
        Record r = with({}, row.before);
        if (row.shown != nullptr) {
            EXPECT_EQ(shownFormat(r, row.format).*row.box, row.shown);
        }
        if (row.typed == nullptr) {
            continue;
        }
        PlayerSheet sheet;
        sheet.*row.box = row.typed;
        const Record expected = with(r, row.after);
        storeStatistics(sheet, r, row.format);
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
        PlayerSheet sheet;
        sheet.wickets = "7";
        sheet.*row.box = row.text;
        Record r{};
        EXPECT_THAT([&] { storeStatistics(sheet, r, row.format); },
                    Throws<StoreError>(AllOf(
                        test::InField(row.field),
                        testing::Property(&std::exception::what, testing::HasSubstr(row.limit)))));
        EXPECT_EQ(r, Record{});
    }
}

} // namespace
} // namespace qb
