#include "roster/roster_file.h"
#include "saving/safe_write.h"
#include "support/roster_maker.h"
#include "system/errors.h"
#include "system/file_handle.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qb {
namespace {

using test::RosterMaker;
using test::TempDir;

TEST(Layout, FileKindFollowsTheCaseSensitiveEnding) {
    const std::pair<const char*, FileKind> rows[] = {
        {"roster.pak", FileKind::Roster},        {"game1.sav", FileKind::SavedGame},
        {"GAME1.SAV", FileKind::Roster},         {"game1.Sav", FileKind::Roster},
        {"folder.sav/roster", FileKind::Roster}, {"oddsav", FileKind::SavedGame},
    };
    for (const auto& [path, kind] : rows) {
        EXPECT_EQ(fileKindOf(path), kind) << path;
    }
}

TEST(RosterFile, SavedGameHoldsTheSameTable132BytesOn) {
    const TempDir dir;
    RosterMaker maker;
    maker.player(0, "Adams").player(1599, "Last").set(1599, 347, {0x5A}).header("Season 2004");
    const RosterFile pak(maker.write(dir, "r.pak"));
    const RosterFile sav(maker.write(dir, "r.sav"));
    EXPECT_EQ(pak.readSlotTable().copyRecord(1599), sav.readSlotTable().copyRecord(1599));
    EXPECT_EQ(sav.readSlot(1599)[347], 0x5A);
    EXPECT_EQ(sav.slotOffset(1599), 132 + 556'452);
    const auto header = sav.readHeader();
    EXPECT_EQ(std::string(header.begin(), header.end()), "Season 2004" + std::string(121, ' '));
    EXPECT_TRUE(pak.readHeader().empty());
}

TEST(RosterFile, ShortFilesAreRefusedNamingTheFileAndBothSizes) {
    const TempDir dir;
    struct Row {
        const char* name;
        std::size_t length;
        const char* needed;
    };
    const Row rows[] = {{"short.pak", 556'799, "556800"},
                        {"short.sav", 556'931, "556932"},
                        {"empty.pak", 0, "556800"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = RosterMaker().length(row.length).write(dir, row.name);
        EXPECT_THAT([&] { RosterFile roster(path); },
                    testing::ThrowsMessage<FileError>(testing::AllOf(
                        testing::HasSubstr(path), testing::HasSubstr(std::to_string(row.length)),
                        testing::HasSubstr(row.needed))));
    }
    EXPECT_THROW(RosterFile(dir.file("missing.pak")), FileError);
}

// The partial files of exports and backups are created so: never over a file (or a link).
TEST(FileHandle, CreatingANewFileRefusesOneAlreadyThere) {
    const TempDir dir;
    test::writeFileBytes(dir.file("taken"), {1});
    EXPECT_THROW(FileHandle(dir.file("taken"), OpenMode::CreateNew, "writing"), FileError);
    EXPECT_EQ(test::readFileBytes(dir.file("taken")), std::vector<std::uint8_t>{1});
}

TEST(RosterFile, AFileCutShortAfterOpeningIsNeverGrown) {
    const TempDir dir;
    const std::string path = RosterMaker().player(0, "Smith").write(dir, "cut.pak");
    const RosterFile roster(path);
    std::filesystem::resize_file(path, 1000);
    Record working = roster.readSlot(0);
    working[5] = 'X';
    EXPECT_THROW(writeSlotSafely(roster, 0, roster.readSlot(0), working, {}), FileError);
    EXPECT_THROW(roster.readSlot(1500), FileError);
    EXPECT_EQ(std::filesystem::file_size(path), 1000u);
}

} // namespace
} // namespace qb
