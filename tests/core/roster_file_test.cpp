#include "roster/errors.h"
#include "roster/roster_file.h"
#include "roster/safe_write.h"
#include "support/roster_maker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
    ASSERT_EQ(header.size(), 132u);
    EXPECT_EQ(std::string(header.begin(), header.begin() + 11), "Season 2004");
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

TEST(RosterFile, WritesExactlyTheChangedBytesInsideTheSlot) {
    const TempDir dir;
    const std::string path =
        RosterMaker().player(3, "Smith").trailer(SLOT_SIZE).header("H").write(dir, "w.sav");
    const RosterFile roster(path);
    const auto before = test::readFileBytes(path);
    const Record loaded = roster.readSlot(3);
    EXPECT_THROW(roster.readSlot(SLOT_COUNT), FileError); // the bytes after the table are no slot

    EXPECT_TRUE(writeSlotSafely(roster, 3, loaded, loaded, {}).written.front().empty());

    Record working = loaded;
    working[6] = 'y'; // Smith -> Smyth
    working[200] = 7; // a run of two adjacent bytes
    working[201] = 8;
    EXPECT_EQ(writeSlotSafely(roster, 3, loaded, working, {}).written.front(),
              (std::vector<int>{6, 200, 201}));

    const auto after = test::readFileBytes(path);
    ASSERT_EQ(after.size(), before.size());
    const std::int64_t slot = roster.slotOffset(3);
    for (std::size_t i = 0; i < after.size(); ++i) {
        const auto offset = static_cast<std::int64_t>(i) - slot;
        const bool changed = offset == 6 || offset == 200 || offset == 201;
        EXPECT_EQ(after[i] != before[i], changed) << "file byte " << i;
    }
}

// Root writes read-only files, so as root the write is tried by a child that
// has given up root.
bool writeFailsNamingTheFile(const std::string& path) {
    const RosterFile roster(path);
    Record working = roster.readSlot(0);
    working[10] = 1;
    try {
        writeSlotSafely(roster, 0, roster.readSlot(0), working, {});
        return false;
    } catch (const FileError& error) {
        return std::string(error.what()).find(path) != std::string::npos;
    }
}

TEST(RosterFile, ReadOnlyFileIsReportedAndLeftUnchanged) {
    const TempDir dir;
    const std::string path = RosterMaker().player(0, "Smith").write(dir, "ro.pak");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(path.c_str(), 0444);
    const auto before = test::readFileBytes(path);
    if (::geteuid() != 0) {
        EXPECT_TRUE(writeFailsNamingTheFile(path));
    } else {
        const pid_t child = ::fork();
        if (child == 0) {
            const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
            ::_exit(dropped && writeFailsNamingTheFile(path) ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(test::readFileBytes(path), before);
}

TEST(RosterFile, AFileCutShortAfterOpeningIsNeverGrown) {
    const TempDir dir;
    const std::string path = RosterMaker().player(0, "Smith").write(dir, "cut.pak");
    const RosterFile roster(path);
    ASSERT_EQ(::truncate(path.c_str(), 1000), 0);
    Record working = roster.readSlot(0);
    working[5] = 'X';
    EXPECT_THROW(writeSlotSafely(roster, 0, roster.readSlot(0), working, {}), FileError);
    EXPECT_THROW(roster.readSlot(1500), FileError);
    EXPECT_EQ(std::filesystem::file_size(path), 1000u);
}

} // namespace
} // namespace qb
