#include "roster/faults.h"
#include "roster/safe_write.h"
#include "support/roster_maker.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qb {
namespace {

// When set to n, the n-th write to any file from now on reports success but writes
// nothing, as a failing disk can.
std::atomic<int> droppedWrite{0};

} // namespace
} // namespace qb

extern "C" ssize_t pwrite(int fd, const void* data, size_t count, off_t offset) {
    static const auto real =
        reinterpret_cast<ssize_t (*)(int, const void*, size_t, off_t)>(dlsym(RTLD_NEXT, "pwrite"));
    if (qb::droppedWrite > 0 && --qb::droppedWrite == 0) {
        return static_cast<ssize_t>(count);
    }
    return real(fd, data, count, offset);
}

namespace qb {
namespace {

namespace fs = std::filesystem;
using test::RosterMaker;
using test::TempDir;

struct SafetyFixture : ::testing::Test {
    void SetUp() override { faults::reset(); }
    void TearDown() override { faults::reset(); }

    SafetyOptions options() const {
        SafetyOptions o;
        o.dataFolder = dir.file("data");
        return o;
    }
    std::string roster(const std::string& name = "r.pak") const {
        return RosterMaker().player(0, "Smith").player(1, "Jones").trailer(16).write(dir, name);
    }
    // A change of three one-byte runs in slot 1: the name, a rating byte and the nation.
    static Record edited(Record r) {
        r[5] = 'X';
        r[79] = 40;
        r[216] = 1;
        return r;
    }
    std::vector<fs::path> journals() const {
        std::vector<fs::path> found;
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(dir.file("data/journal"), ignored)) {
            found.push_back(entry.path());
        }
        return found;
    }

    TempDir dir;
};

TEST_F(SafetyFixture, WritesOnlyTheChangedRunsAndLeavesNoJournal) {
    const std::string path = roster();
    const RosterFile file(path);
    const Record loaded = file.readSlot(1);
    const auto before = test::readFileBytes(path);
    const SaveReport report = writeSlotSafely(file, 1, loaded, edited(loaded), options());
    EXPECT_EQ(report.written, (std::vector<int>{5, 79, 216}));
    EXPECT_TRUE(report.notices.empty());
    const auto after = test::readFileBytes(path);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        const bool inEdit = i == 348 + 5 || i == 348 + 79 || i == 348 + 216;
        EXPECT_EQ(after[i] != before[i], inEdit) << i;
    }
    EXPECT_TRUE(journals().empty());
}

TEST_F(SafetyFixture, AChangeByAnotherProgramIsNotOverwrittenUnlessForced) {
    const std::string path = roster();
    const RosterFile file(path);
    const Record loaded = file.readSlot(1);
    Record other = loaded;
    other[80] = 9; // the second writer
    writeSlotSafely(file, 1, loaded, other, options());
    const auto before = test::readFileBytes(path);
    EXPECT_THROW(writeSlotSafely(file, 1, loaded, edited(loaded), options()), SlotConflict);
    EXPECT_EQ(test::readFileBytes(path), before);
    SafetyOptions forced = options();
    forced.force = true;
    writeSlotSafely(file, 1, loaded, edited(loaded), forced);
    EXPECT_EQ(file.readSlot(1)[79], 40);
    EXPECT_EQ(file.readSlot(1)[80], 9); // bytes it did not change stay the other writer's
}

TEST_F(SafetyFixture, FailuresPartWayPutTheSlotBack) {
    struct Row {
        const char* what;
        faults::Op op;
        int nth;
        int error;
        const char* told;
    };
    const Row rows[] = {
        {"second run fails", faults::Op::Write, 3, EIO, "put back"}, // journal, 1-byte run, run 2
        {"last run fails", faults::Op::Write, 4, ENOSPC, "put back"},
        {"flush fails", faults::Op::Sync, 3, EIO, "put back"}, // journal, folder, roster
        {"journal cannot be written", faults::Op::Write, 1, ENOSPC, "No space"},
        {"roster cannot be opened", faults::Op::Open, 1, EACCES, "Permission denied"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string path = roster(std::string(row.what) + ".pak");
        const RosterFile file(path);
        const Record loaded = file.readSlot(1);
        const auto before = test::readFileBytes(path);
        faults::failNth(row.op, row.nth, row.error);
        try {
            writeSlotSafely(file, 1, loaded, edited(loaded), options());
            FAIL() << "saved";
        } catch (const QuillbayError& error) {
            EXPECT_NE(std::string(error.what()).find(row.told), std::string::npos) << error.what();
        }
        faults::reset();
        EXPECT_EQ(test::readFileBytes(path), before);
        EXPECT_TRUE(journals().empty());
    }
}

TEST_F(SafetyFixture, AWriteThatNeverLandsIsFoundByReadingBack) {
    const std::string path = roster();
    const RosterFile file(path);
    const Record loaded = file.readSlot(1);
    droppedWrite = 2; // the journal lands, the first run of the slot does not
    try {
        writeSlotSafely(file, 1, loaded, edited(loaded), options());
        ADD_FAILURE() << "saved";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("other bytes"), std::string::npos);
    }
    droppedWrite = 0;
}

TEST_F(SafetyFixture, ASaveKilledAnywhereIsCompletedOrUndoneOnTheNextOpen) {
    for (const char* point : {"after-journal", "after-first-run", "before-journal-delete"}) {
        SCOPED_TRACE(point);
        const std::string path = roster(std::string(point) + ".pak");
        const RosterFile file(path);
        const Record loaded = file.readSlot(1);
        const auto before = test::readFileBytes(path);
        const pid_t child = ::fork();
        if (child == 0) {
            ::setenv("QB_CRASH_AT", point, 1);
            writeSlotSafely(file, 1, loaded, edited(loaded), options());
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        ASSERT_EQ(journals().size(), 1u);
        const std::vector<std::string> told = recoverInterruptedSaves(options().dataFolder, path);
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find(path), std::string::npos);
        EXPECT_TRUE(journals().empty());
        const Record now = file.readSlot(1);
        EXPECT_TRUE(now == loaded || now == edited(loaded));
        if (std::string(point) == "before-journal-delete") {
            EXPECT_EQ(now, edited(loaded));
        } else {
            EXPECT_EQ(test::readFileBytes(path), before);
        }
    }
}

TEST_F(SafetyFixture, TornOrForeignJournalsChangeNothing) {
    const std::string path = roster();
    fs::create_directories(dir.file("data/journal"));
    test::writeFileBytes(dir.file("data/journal/1-0.journal"), {'Q', 'B', 'J', '1', 5, 0, 0});
    test::writeFileBytes(dir.file("data/journal/2-0.journal"),
                         std::vector<std::uint8_t>(200, 0xAB));
    const auto before = test::readFileBytes(path);
    EXPECT_TRUE(recoverInterruptedSaves(options().dataFolder).empty());
    EXPECT_TRUE(journals().empty());
    EXPECT_EQ(test::readFileBytes(path), before);
}

TEST_F(SafetyFixture, BackupsOncePerSessionKeepingTheTenNewest) {
    const std::string path = roster("league.pak");
    const RosterFile file(path);
    fs::create_directories(dir.file("data/backups"));
    for (int i = 0; i < 12; ++i) {
        test::writeFileBytes(dir.file("data/backups/league-2001010" + std::to_string(i / 10) +
                                      "-00000" + std::to_string(i % 10) + ".pak"),
                             {1});
    }
    test::writeFileBytes(dir.file("data/backups/leaguer-20010101-000000.pak"), {1}); // another file
    const auto original = test::readFileBytes(path);
    Record loaded = file.readSlot(1);
    writeSlotSafely(file, 1, loaded, edited(loaded), options());
    loaded = file.readSlot(1);
    Record again = loaded;
    again[90] = 8;
    writeSlotSafely(file, 1, loaded, again, options());
    std::vector<std::string> copies;
    for (const auto& entry : fs::directory_iterator(dir.file("data/backups"))) {
        copies.push_back(entry.path().filename().string());
    }
    std::sort(copies.begin(), copies.end());
    EXPECT_EQ(copies.size(), 11u); // ten of league, one of leaguer
    EXPECT_EQ(test::readFileBytes(dir.file("data/backups/" + copies[9])),
              original); // the newest is today's
    EXPECT_TRUE(std::count(copies.begin(), copies.end(), "league-20010100-000000.pak") == 0);
}

TEST_F(SafetyFixture, AnUnwritableBackupFolderStillSavesAndTellsTheUser) {
    const std::string path = roster("nobackup.pak");
    fs::create_directories(dir.file("data"));
    test::writeFileBytes(dir.file("data/backups"), {1}); // a file where the folder should be
    const RosterFile file(path);
    const Record loaded = file.readSlot(1);
    const SaveReport report = writeSlotSafely(file, 1, loaded, edited(loaded), options());
    EXPECT_EQ(report.written.size(), 3u);
    ASSERT_EQ(report.notices.size(), 1u);
    EXPECT_NE(report.notices[0].find("No backup"), std::string::npos);
    EXPECT_EQ(file.readSlot(1), edited(loaded));
}

} // namespace
} // namespace qb
