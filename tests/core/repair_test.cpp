#include "codecs/codec_errors.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "player/player_save.h"
#include "player/shown_player.h"
#include "roster/roster_file.h"
#include "support/error_matchers.h"
#include "support/record_generator.h"
#include "support/roster_maker.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(Repair, EveryRecordShowsAfterItsRepairAndShowingRecordsAreKept) {
    std::mt19937 random(7);
    test::RecordGenerator generator(7);
    for (int i = 0; i < 3000; ++i) {
        Record record{};
        for (std::uint8_t& byte : record) {
            byte = static_cast<std::uint8_t>(random());
        }
        repairRecord(record, kCommentaryNameCount);
        EXPECT_TRUE(showEveryField(record).failures.empty()) << i;
        const Record repaired = record;
        EXPECT_TRUE(repairRecord(record, kCommentaryNameCount).empty());
        EXPECT_EQ(record, repaired);
        Record healthy = generator.player();
        const Record before = healthy;
        EXPECT_TRUE(repairRecord(healthy, kCommentaryNameCount).empty());
        EXPECT_EQ(healthy, before);
    }
}

TEST(Repair, EachFieldGetsTheRuleOfItsKind) {
    struct Row {
        int offset;
        std::vector<std::uint8_t> bytes;
        std::string field, before, after;
        std::vector<std::pair<int, std::uint8_t>> expected; // bytes after the repair
    };
    // clang-format off
    const std::vector<Row> rows = {
        // several nation bits: the first of them; none: the list's first entry
        {216, {0x0A, 0x00}, "nation", "2 bits", "BAN", {{216, 0x02}, {217, 0x00}}},
        {216, {0x00, 0xC0}, "nation", "49152", "AUS", {{216, 0x01}, {217, 0x00}}},
        {205, {30}, "appearance.face", "30", "24", {{205, 24}}},
        {209, {6}, "appearance.facialHair", "6", "Moustache & Goatee", {{209, 5}}},
        {2, {0xD0, 0x07}, "commentary", "2000", "1015", {{2, 0xF7}, {3, 0x03}}},
        {198, {9}, "skills.Injury Free", "9", "2", {{198, 2}}},
        {83, {64}, "ratings.batting.Versus Pace", "64", "63", {{83, 63}}},
        {105, {0xF3, 0x0F}, "ratings.fielding.Consistency", "255", "63",
         {{105, 0xF3}, {106, 0x03}}},
        {110, {0x0F}, "roles.fieldingPosition2", "30", "Square Leg", {{110, 0x03}, {109, 0x80}}},
        {21, {0x80}, "statistics.Test.innings", "32768", "32767", {{20, 0xFF}, {21, 0x7F}}},
        // figures that show but that no save stores back: the nearest value it stores
        {118, {0x40, 15}, "statistics.Test.highestScore", "1072", "639", {{118, 0xFC}, {119, 9}}},
        {118, {0x40, 40}, "statistics.Test.highestScore", "-528", "0", {{118, 0}, {119, 0}}},
        {88, {0x00, 0x05}, "statistics.First Class.bestBowlingWickets", "20", "15",
         {{88, 0xC0}, {89, 0x03}}},
    };
    // clang-format on
    for (const Row& row : rows) {
        Record record = test::playerRecord("Player");
        for (std::size_t i = 0; i < row.bytes.size(); ++i) {
            record[static_cast<std::size_t>(row.offset) + i] = row.bytes[i];
        }
        const FieldRepairs repairs = repairRecord(record, kCommentaryNameCount);
        ASSERT_EQ(repairs.size(), 1U) << row.field;
        EXPECT_EQ(std::tie(repairs[0].field, repairs[0].before, repairs[0].after),
                  std::tie(row.field, row.before, row.after));
        for (const auto& [offset, value] : row.expected) {
            EXPECT_EQ(record[static_cast<std::size_t>(offset)], value) << row.field << offset;
        }
    }
}

TEST(Repair, LoadRepairedShowsTheRepairAndSaveWritesOnlyIt) {
    test::TempDir dir;
    const std::string path = test::RosterMaker()
                                 .player(0, "Good")
                                 .player(1, "Bad")
                                 .set(1, 104, {56})
                                 .set(1, 205, {40})
                                 .write(dir, "r.pak");
    const RosterFile roster(path);
    PlayerEditor editor(kCommentaryNameCount);
    EXPECT_THROW(editor.load(roster, 1, roster.readSlot(1)), ShowError);
    EXPECT_EQ(editor.loadRepaired(roster, 1, roster.readSlot(1)).size(), 1U);
    // Only ever into the file the player came from, even one that holds the same bytes.
    const std::string other = dir.file("other.pak");
    const auto untouched = test::readFileBytes(path);
    test::writeFileBytes(other, untouched);
    EXPECT_THROW(savePlayer(editor, RosterFile(other)), QuillbayError);
    EXPECT_EQ(test::readFileBytes(other), untouched);
    EXPECT_EQ(savePlayer(editor, roster).written, std::vector<int>({205}));
}

// A figure the file holds out of range refuses every save of the player, a rename too,
// naming the repair; repairing the player on screen brings it into range, after which
// the rename saves with the repair.
TEST(Repair, AFigureOutOfRangeIsRepairedOnScreenAndThenSaves) {
    test::TempDir dir;
    const std::string path = test::RosterMaker()
                                 .player(0, "Wide")
                                 .set(0, 104, {56})
                                 .set(0, 118, {0x40, 15})
                                 .write(dir, "r.pak");
    const RosterFile roster(path);
    PlayerEditor editor(kCommentaryNameCount);
    editor.load(roster, 0, roster.readSlot(0));
    editor.sheet().name = "Renamed";
    EXPECT_THAT(
        [&] { savePlayer(editor, roster); },
        testing::Throws<StoreError>(testing::AllOf(
            test::InField("statistics.Test.highestScore"),
            testing::Property(&std::exception::what, testing::HasSubstr("repair the player")))));
    EXPECT_EQ(editor.figureRepairs().size(), 1U);
    const FieldRepairs repairs = editor.repairFigures();
    ASSERT_EQ(repairs.size(), 1U);
    EXPECT_EQ(repairs[0].after, "639");
    savePlayer(editor, roster);
    const Record saved = roster.readSlot(0);
    EXPECT_EQ(std::vector<int>({saved[118], saved[119]}), std::vector<int>({0xFC, 9}));
    EXPECT_EQ(recordName(saved.data()), "Renamed");
}

} // namespace
} // namespace qb
