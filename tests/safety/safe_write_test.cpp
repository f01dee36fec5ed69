#include "saving/backups.h"
#include "saving/journal.h"
#include "saving/safe_write.h"
#include "saving/transfer.h"
#include "support/child_process.h"
#include "support/roster_maker.h"
#include "system/faults.h"
#include "system/native_path.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

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
    // The same change in slots 1 to `count`, as one batch.
    static std::vector<SlotWrite> batch(const RosterFile& file, int count) {
        std::vector<SlotWrite> writes;
        for (int slot = 1; slot <= count; ++slot) {
            const Record loaded = file.readSlot(slot);
            writes.push_back({slot, edited(loaded), loaded});
        }
        return writes;
    }
    // Saves batch(file, slots) in another process told to crash or stop at `point`.
    std::unique_ptr<test::ChildProcess> saveInChild(const std::string& path, int slots,
                                                    const char* variable, const char* point) const {
        return std::make_unique<test::ChildProcess>(
            "save", test::Environment{{variable, point},
                                      {"QB_CHILD_ROSTER", path},
                                      {"QB_CHILD_SLOTS", std::to_string(slots)},
                                      {"QB_CHILD_DATA", options().dataFolder}});
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

// The other process of saveInChild.
const bool kSaveTask = test::registerChildTask("save", [] {
    const RosterFile file(std::getenv("QB_CHILD_ROSTER"));
    SafetyOptions options;
    options.dataFolder = std::getenv("QB_CHILD_DATA");
    writeSlots(file, SafetyFixture::batch(file, std::atoi(std::getenv("QB_CHILD_SLOTS"))), options);
    return 0;
});

// Only the changed bytes of the slot are written, in a saved game as in a roster.
TEST_F(SafetyFixture, WritesOnlyTheChangedBytesAndLeavesNoJournal) {
    const std::string path =
        RosterMaker().player(1, "Jones").header("H").trailer(SLOT_SIZE).write(dir, "r.sav");
    const RosterFile file(path);
    const Record loaded = file.readSlot(1);
    const auto before = test::readFileBytes(path);
    EXPECT_THROW(file.readSlot(SLOT_COUNT), FileError); // the bytes after the table are no slot
    EXPECT_TRUE(writeSlotSafely(file, 1, loaded, loaded, options()).written.front().empty());
    Record working = edited(loaded);
    working[80] = 41; // a run of two adjacent bytes
    const SaveReport report = writeSlotSafely(file, 1, loaded, working, options());
    EXPECT_EQ(report.written.front(), (std::vector<int>{5, 79, 80, 216}));
    EXPECT_TRUE(report.notices.empty());
#ifndef _WIN32
    EXPECT_EQ(fs::status(dir.file("data/journal")).permissions(), fs::perms::owner_all);
#endif
    const auto after = test::readFileBytes(path);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        const auto offset = static_cast<std::int64_t>(i) - file.slotOffset(1);
        const bool inEdit = offset == 5 || offset == 79 || offset == 80 || offset == 216;
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

// A save, a player export over an earlier file or an import that fails at any read,
// write or flush leaves every file as it was and says which file failed.
TEST_F(SafetyFixture, FailuresPartWayPutTheSlotBack) {
    enum class Action { Save, Export, Import };
    struct Row {
        const char* what;
        Action action;
        faults::Op op;
        int nth;
        int error;
        const char* told;
        int slots = 1;         // in the batch
        int syncAlsoFails = 0; // the n-th flush fails too (ENOSPC), 0: none
    };
    const Row rows[] = {
        // backup, journal, the one-byte run 1, run 2
        {"second run fails", Action::Save, faults::Op::Write, 4, EIO, "put back"},
        {"last run fails", Action::Save, faults::Op::Write, 5, ENOSPC, "put back"},
        // backup, its folder, journal, its folder, roster
        {"flush fails", Action::Save, faults::Op::Sync, 5, EIO, "put back"},
        {"journal cannot be written", Action::Save, faults::Op::Write, 2, ENOSPC, "No space"},
        {"roster cannot be opened", Action::Save, faults::Op::Open, 1, EACCES,
         "opened.pak for writing: Permission denied"},
        {"export cannot read", Action::Export, faults::Op::Read, 1, EIO, "export cannot read.pak"},
        {"export cannot create", Action::Export, faults::Op::Open, 2, EACCES,
         "earlier.data: Permission"},
        {"export cannot write", Action::Export, faults::Op::Write, 1, ENOSPC, "earlier.data: No"},
        {"export cannot flush", Action::Export, faults::Op::Sync, 1, EIO, "earlier.data: Input"},
        {"import cannot read", Action::Import, faults::Op::Read, 1, EIO, "incoming.data: Input"},
        {"import cannot write", Action::Import, faults::Op::Write, 3, EIO, "write.pak: Input"},
        // backup, journal, three runs of slot 1, then slot 2's second run
        {"a batch's second slot fails", Action::Save, faults::Op::Write, 7, EIO, "put back", 3},
        {"a batch's flush fails", Action::Save, faults::Op::Sync, 5, EIO, "put back", 3},
        // a full disk: the second run fails, and so does the flush of the first put back
        {"a full disk fails the put-back flush", Action::Save, faults::Op::Write, 4, ENOSPC,
         "could not be flushed (", 1, 5},
    };
    const std::vector<std::uint8_t> earlier{1, 2, 3};
    fs::create_directories(dir.file("data"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string path = roster(std::string(row.what) + ".pak");
        const RosterFile file(path);
        const std::vector<SlotWrite> writes = batch(file, row.slots);
        const Record incoming = writes.front().record;
        test::writeFileBytes(dir.file("earlier.data"), earlier);
        test::writeFileBytes(dir.file("incoming.data"), {incoming.begin(), incoming.end()});
        const auto before = test::readFileBytes(path);
        const auto filesBefore = std::distance(fs::directory_iterator(dir.file(".")), {});
        faults::failNth(row.op, row.nth, row.error);
        if (row.syncAlsoFails > 0) {
            faults::failNth(faults::Op::Sync, row.syncAlsoFails, ENOSPC);
        }
        try {
            switch (row.action) {
            case Action::Save:
                writeSlots(file, writes, options());
                break;
            case Action::Export:
                exportSlot(file, 1, dir.file("earlier.data"));
                break;
            case Action::Import:
                importSlot(file, 1, dir.file("incoming.data"), options());
                break;
            }
            ADD_FAILURE() << "done";
        } catch (const QuillbayError& error) {
            EXPECT_NE(std::string(error.what()).find(row.told), std::string::npos) << error.what();
        }
        faults::reset();
        EXPECT_EQ(test::readFileBytes(path), before);
        EXPECT_EQ(test::readFileBytes(dir.file("earlier.data")), earlier);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.file(".")), {}), filesBefore);
        EXPECT_TRUE(journals().empty());
    }
}

TEST_F(SafetyFixture, AWriteThatNeverLandsIsFoundByReadingBack) {
    // The backup and the journal land, then the first run of slot 1 does not; or, in a
    // batch of three, slot 1's three runs land and the first of slot 2 does not.
    for (const auto& [slots, lost] : {std::pair{1, 3}, std::pair{3, 6}}) {
        const RosterFile file(roster(std::to_string(slots) + ".pak"));
        faults::failNth(faults::Op::Write, lost, faults::kLostWrite);
        EXPECT_THAT([&] { writeSlots(file, batch(file, slots), options()); },
                    testing::ThrowsMessage<FileError>(testing::HasSubstr("other bytes")));
    }
}

// A journal as earlier versions wrote it: one slot, no slot count ("QBJ2").
void rewriteAsSingleSlotJournal(const fs::path& journalFile) {
    std::vector<std::uint8_t> bytes = test::readFileBytes(journalFile.string());
    const auto pathLength = static_cast<std::size_t>(bytes[4] | bytes[5] << 8);
    const auto slotCount = bytes.begin() + static_cast<std::ptrdiff_t>(8 + pathLength + 36);
    ASSERT_EQ(*slotCount, 1);
    bytes.erase(slotCount, slotCount + 2);
    bytes[3] = '2';
    bytes.resize(bytes.size() - 8);
    std::uint64_t hash = 14695981039346656037ULL; // FNV-1a, the journal's checksum
    for (const std::uint8_t byte : bytes) {
        hash = (hash ^ byte) * 1099511628211ULL;
    }
    for (int i = 0; i < 8; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(hash >> (8 * i)));
    }
    test::writeFileBytes(journalFile.string(), bytes);
}

// A save killed at any point is completed or undone by the next open, unless the file was
// written since: then the journal is set aside and never undoes the later bytes.
TEST_F(SafetyFixture, ASaveKilledAnywhereIsCompletedUndoneOrSetAside) {
    enum class Meanwhile {
        Nothing,
        EarlierJournal,
        OtherSpelling,
        SlotWritten,
        FileReplaced,
        FileGrown
    };
    struct Row {
        const char* point;
        int slots; // in the batch
        const char* told;
        Meanwhile meanwhile = Meanwhile::Nothing;
    };
    const Row rows[] = {
        {"after-journal", 1, "the slot is as it was"},
        {"after-first-run", 1, "the slot was restored to its earlier bytes"},
        {"before-journal-delete", 1, "they are complete"},
        {"after-first-run", 1, "restored", Meanwhile::EarlierJournal},
        {"before-journal-delete", 1, "complete", Meanwhile::EarlierJournal},
        {"after-journal", 3, "the slots are as they were"},
        {"after-first-run", 3, "the slots were restored to their earlier bytes"},
        {"after-slot-1", 3, "restored"},
        {"after-slot-2", 3, "restored"},
        {"after-slot-3", 3, "complete"}, // every slot written, not yet flushed
        {"before-journal-delete", 3, "complete"},
        {"after-first-run", 1, "restored", Meanwhile::OtherSpelling},
        {"after-first-run", 1, "the slot was left as it is and the journal set aside",
         Meanwhile::SlotWritten},
        {"after-journal", 1, "set aside", Meanwhile::FileGrown},
        // Last: the replaced file's inode is free for the next row's file to take.
        {"after-journal", 1, "set aside", Meanwhile::FileReplaced},
    };
    for (const Row& row : rows) {
        const std::string name = std::string(row.point) + "-" + std::to_string(row.slots) + "-" +
                                 std::to_string(static_cast<int>(row.meanwhile)) + ".pak";
        SCOPED_TRACE(name);
        const std::string path = roster(name);
        const RosterFile file(path);
        const std::vector<SlotWrite> writes = batch(file, row.slots);
        const auto loaded = test::readFileBytes(path);
        ASSERT_EQ(saveInChild(path, row.slots, "QB_CRASH_AT", row.point)->wait(), 137);
        ASSERT_EQ(journals().size(), 1u);
        auto bytes = test::readFileBytes(path);
        switch (row.meanwhile) {
        case Meanwhile::EarlierJournal:
            rewriteAsSingleSlotJournal(journals().front());
            break;
        case Meanwhile::SlotWritten: // another program
            bytes[348 + 5] = 'Q';
            test::writeFileBytes(path, bytes);
            break;
        case Meanwhile::FileReplaced: // the game writes anew, its edit one run as the save's
            bytes[348 + 5] = 'X';
            bytes[348 + 6] = 'Y';
            test::writeFileBytes(path + ".new", bytes);
            fs::rename(path + ".new", path);
            break;
        case Meanwhile::FileGrown: // the same file, a byte longer
            bytes.push_back(0);
            test::writeFileBytes(path, bytes);
            break;
        default:
            break;
        }
        const auto beforeRecovery = test::readFileBytes(path);
        const std::string spelled =
            row.meanwhile == Meanwhile::OtherSpelling ? dir.file(".") + "/" + name : path;
        const std::vector<std::string> told =
            recoverInterruptedSaves(options().dataFolder, spelled);
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find(row.told), std::string::npos) << told[0];
        EXPECT_NE(told[0].find(fs::canonical(path).string()), std::string::npos) << told[0];
        EXPECT_TRUE(journals().empty());
        const std::vector<std::string> setAside = setAsideJournals(options().dataFolder, path);
        if (row.meanwhile >= Meanwhile::SlotWritten) {
            EXPECT_EQ(test::readFileBytes(path), beforeRecovery);
            ASSERT_EQ(setAside.size(), 1u);
            EXPECT_NE(setAside[0].find(fs::canonical(path).string()), std::string::npos);
            continue;
        }
        EXPECT_TRUE(setAside.empty());
        if (std::string(row.told).find("complete") != std::string::npos) {
            for (const SlotWrite& write : writes) {
                EXPECT_EQ(file.readSlot(write.slot), write.record) << write.slot;
            }
        } else {
            EXPECT_EQ(test::readFileBytes(path), loaded);
        }
    }
}

TEST_F(SafetyFixture, ASaveStillRunningIsNeitherRecoveredNorInterleaved) {
    const std::string path = roster();
    const RosterFile file(path);
    const Record loaded = file.readSlot(1);
    const auto child = saveInChild(path, 1, "QB_STOP_AT", "after-first-run");
    ASSERT_TRUE(child->waitUntilStopped());
    const auto midway = test::readFileBytes(path);
    SafetyOptions impatient = options();
    impatient.lockWait = std::chrono::milliseconds(50);
    // Not cut off: recovery neither waits for its lock nor reports it; the writer waits
    // once and says why it gave up.
    EXPECT_EQ(recoverInterruptedSaves(options().dataFolder, path, impatient.lockWait),
              std::vector<std::string>());
    EXPECT_THAT([&] { writeSlotSafely(file, 1, loaded, edited(loaded), impatient); },
                testing::ThrowsMessage<RosterBusy>(
                    path + " is in use by a running save of another Quillbay process (waited 50 "
                           "ms); nothing was written, try again when it is done"));
    EXPECT_EQ(test::readFileBytes(path), midway);
    EXPECT_EQ(journals().size(), 1u);
    child->resume();
    EXPECT_EQ(child->wait(), 0);
    EXPECT_EQ(file.readSlot(1), edited(loaded));
    EXPECT_TRUE(journals().empty());
}

#ifdef __linux__
// Sets or clears a file's immutable attribute, which binds root as well; false where the
// file system or this process's rights do not allow it.
bool setImmutable(const std::string& path, bool on) {
    const int descriptor = ::open(path.c_str(), O_RDONLY);
    int flags = 0;
    bool done = descriptor >= 0 && ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(descriptor);
    return done;
}
#endif

// A name outside ASCII, and outside any one ANSI code page, reaches the file, its
// journal and its backup; a read-only file is refused with nothing written.
TEST_F(SafetyFixture, AnyFileNameSavesAndAReadOnlyFileIsRefused) {
    const std::string path = roster("M\u00fcller \u03a9\u03bc\u03ad\u03b3\u03b1 \u6771\u4eac.pak");
    const RosterFile file(path);
    const Record loaded = file.readSlot(1);
    writeSlotSafely(file, 1, loaded, edited(loaded), options());
    EXPECT_EQ(RosterFile(path).readSlot(1), edited(loaded));
    const fs::directory_iterator backups(
        nativePath(backupFolder(options().dataFolder, identifyFile(path).canonicalPath)));
    EXPECT_EQ(std::distance(fs::begin(backups), fs::end(backups)), 1);

    fs::permissions(nativePath(path),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto before = test::readFileBytes(path);
#ifndef _WIN32 // Windows has the read-only attribute, which binds every user
    bool immutable = false;
    if (std::ofstream(nativePath(path), std::ios::app)) { // root
#ifdef __linux__
        immutable = setImmutable(path, true);
#endif
        if (!immutable) {
            GTEST_SKIP() << "this user may write read-only files, and " << dir.path()
                         << " cannot be made immutable";
        }
    }
#endif
    EXPECT_THROW(writeSlotSafely(file, 1, edited(loaded), loaded, options()), FileError);
    EXPECT_EQ(test::readFileBytes(path), before);
    EXPECT_TRUE(journals().empty());
#ifdef __linux__
    if (immutable) {
        setImmutable(path, false); // else the folder cannot be removed
    }
#endif
}

TEST_F(SafetyFixture, TornOrForeignJournalsChangeNothing) {
    const std::string path = roster();
    fs::create_directories(dir.file("data/journal"));
    test::writeFileBytes(dir.file("data/journal/1-0.journal"), {'Q', 'B', 'J', '1', 5, 0, 0});
    test::writeFileBytes(dir.file("data/journal/2-0.journal"),
                         std::vector<std::uint8_t>(200, 0xAB));
    // Whole and checked, but naming a slot with no change: no journal is written so.
    test::writeFileBytes(dir.file("data/journal/3-0.journal"),
                         encodeJournal({identifyFile(path), {}, {SlotChange{348, {}, {}, {}}}}));
    // Whole and checked, but for offset 348, past the record.
    test::writeFileBytes(
        dir.file("data/journal/5-0.journal"),
        encodeJournal({identifyFile(path), {}, {SlotChange{348, {348}, {0}, {1}}}}));
    // A save cut off after its first byte, whose journal has one byte flipped: recovery
    // would put 'o' back at byte 5 of slot 1, but a journal that fails its checksum
    // is not trusted.
    std::vector<std::uint8_t> bytes = test::readFileBytes(path);
    bytes[348 + 5] = 'X';
    test::writeFileBytes(path, bytes);
    std::vector<std::uint8_t> flipped =
        encodeJournal({identifyFile(path), {}, {SlotChange{348, {5, 6}, {'o', 'n'}, {'X', 'Y'}}}});
    flipped[flipped.size() - 9] ^= 1; // the last new byte, before the checksum
    test::writeFileBytes(dir.file("data/journal/4-0.journal"), flipped);
    const auto before = test::readFileBytes(path);
    EXPECT_TRUE(recoverInterruptedSaves(options().dataFolder).empty());
    EXPECT_TRUE(journals().empty());
    EXPECT_EQ(test::readFileBytes(path), before);
}

TEST_F(SafetyFixture, BackupsAreWholeOrAbsentAndKeepTheNewestAndEachDaysFirst) {
    const std::string path = roster("league.pak");
    fs::create_directories(dir.file("elsewhere"));
    const std::string namesake = roster("elsewhere/league.pak");
    const std::string mine = backupFolder(options().dataFolder, fs::canonical(path).string());
    const std::string theirs = backupFolder(options().dataFolder, fs::canonical(namesake).string());
    // Twelve backups of an earlier version, named by a clock that was set ahead: ten on
    // one day, two on the next.
    for (const std::string& folder : {mine, theirs}) {
        fs::create_directories(folder);
        for (int i = 0; i < 12; ++i) {
            test::writeFileBytes(folder + "/league-2099010" + std::to_string(i / 10) + "-00000" +
                                     std::to_string(i % 10) + "-000.pak",
                                 {1});
        }
    }
    test::writeFileBytes(mine + "/league-20990101-000000-000.pak.partial", {1}); // a dead copy
    const RosterFile file(path);
    const auto original = test::readFileBytes(path);
    Record loaded = file.readSlot(1);
    // A copy that cannot be written completely is deleted, reported and costs no backup.
    faults::failNth(faults::Op::Write, 1, ENOSPC);
    SaveReport report = writeSlotSafely(file, 1, loaded, edited(loaded), options());
    faults::reset();
    EXPECT_THAT(report.notices, testing::ElementsAre(testing::HasSubstr("No space")));
    const auto listing = [](const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(listing(mine).size(), 13u);
    const auto afterFirst = test::readFileBytes(path);
    EXPECT_NE(afterFirst, original);
    loaded = file.readSlot(1);
    Record again = loaded;
    again[90] = 8;
    report = writeSlotSafely(file, 1, loaded, again, options());
    EXPECT_TRUE(report.notices.empty());
    // The new backup is the newest by the program's sequence, whatever its time; the
    // first of each day stays beside the ten newest.
    const std::vector<Backup> listed = listBackups(path, options().dataFolder);
    ASSERT_EQ(listed.size(), 11u);
    EXPECT_EQ(test::readFileBytes(listed.front().path), afterFirst);
    EXPECT_TRUE(listed.front().kept.starts_with("newest, first of ")) << listed.front().kept;
    EXPECT_EQ(listed.front().differingSlots, 1);
    EXPECT_EQ(listed[1].kept, "newest");
    EXPECT_EQ(listed[2].kept, "newest, first of 2099-01-01");
    EXPECT_EQ(fs::path(listed.back().path).filename(), "league-20990100-000000-000.pak");
    EXPECT_EQ(listed.back().kept, "first of 2099-01-00");
    EXPECT_EQ(listed.back().differingSlots, std::nullopt); // a one-byte file
    // Each file prunes its own backups only.
    const std::vector<std::string> kept = listing(mine);
    EXPECT_EQ(listing(theirs).size(), 12u);
    const RosterFile other(namesake);
    writeSlotSafely(other, 1, other.readSlot(1), edited(other.readSlot(1)), options());
    EXPECT_EQ(listing(theirs).size(), 11u);
    EXPECT_EQ(listing(mine), kept);
    // A backup a day for 31 days: the oldest day's is not kept, the next 30 are.
    const std::string monthly = roster("monthly.pak");
    const std::string days = backupFolder(options().dataFolder, fs::canonical(monthly).string());
    fs::create_directories(days);
    for (int day = 1; day <= 31; ++day) {
        const std::string dd = (day < 10 ? "0" : "") + std::to_string(day);
        test::writeFileBytes(days + "/monthly-" + dd + "-209901" + dd + "-000000-000.pak", {1});
    }
    const std::vector<Backup> month = listBackups(monthly, options().dataFolder);
    EXPECT_EQ(month.back().kept, "");
    EXPECT_EQ(month[month.size() - 2].kept, "first of 2099-01-02");
    // Older backups deleted by hand: the next number is still one more than the highest.
    const std::string gaps = roster("gaps.pak");
    const std::string gapFolder = backupFolder(options().dataFolder, fs::canonical(gaps).string());
    fs::create_directories(gapFolder);
    for (const char* name :
         {"/gaps-000002-20990101-000000-000.pak", "/gaps-000007-20990101-000000-000.pak"}) {
        test::writeFileBytes(gapFolder + name, {1});
    }
    const RosterFile gapped(gaps);
    writeSlotSafely(gapped, 1, gapped.readSlot(1), edited(gapped.readSlot(1)), options());
    EXPECT_THAT(fs::path(listBackups(gaps, options().dataFolder).front().path).filename().string(),
                testing::StartsWith("gaps-000008-"));
}

// One backup a session while only this process writes the file; a change by another
// program since is backed up before the next write, so it can be restored.
TEST_F(SafetyFixture, AChangeByAnotherProgramIsBackedUpBeforeTheNextWrite) {
    const std::string path = roster("shared.pak");
    const RosterFile file(path);
    const auto save = [&](std::uint8_t value) {
        const Record loaded = file.readSlot(1);
        Record changed = loaded;
        changed[90] = value;
        writeSlotSafely(file, 1, loaded, changed, options());
    };
    save(1);
    save(2);
    EXPECT_EQ(listBackups(path, options().dataFolder).size(), 1u);
    auto bytes = test::readFileBytes(path);
    bytes[static_cast<std::size_t>(file.slotOffset(0)) + 90] ^= 1; // another program
    test::writeFileBytes(path, bytes);
    save(3);
    const std::vector<Backup> listed = listBackups(path, options().dataFolder);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(test::readFileBytes(listed.front().path), bytes);
}

TEST(DataFolder, NeverASharedFolderWithoutAHome) {
    const auto saved = [](const char* name) {
        return std::string(std::getenv(name) != nullptr ? std::getenv(name) : "");
    };
#ifdef _WIN32
    const std::vector<std::string> homes = {"LOCALAPPDATA", "APPDATA"};
#else
    const std::vector<std::string> homes = {"HOME"};
#endif
    std::vector<std::string> kept;
    for (const std::string& home : homes) {
        kept.push_back(saved(home.c_str()));
    }
    const std::string xdg = saved("XDG_DATA_HOME");
    test::setEnvironment("XDG_DATA_HOME", "relative/xdg"); // as good as unset: not absolute
    for (const char* value : {static_cast<const char*>(nullptr), "", "relative/home", "/"}) {
        SCOPED_TRACE(value != nullptr ? value : "HOME unset");
        for (const std::string& home : homes) {
            value == nullptr ? test::unsetEnvironment(home) : test::setEnvironment(home, value);
        }
        try {
            const std::string folder = userDataFolder();
            EXPECT_FALSE(folder.starts_with("/tmp") || folder.starts_with("/.local") ||
                         folder.starts_with("relative"))
                << folder;
        } catch (const FileError& refused) {
            EXPECT_NE(refused.description().find("no home folder"), std::string::npos);
        }
    }
    for (std::size_t i = 0; i < homes.size(); ++i) {
        test::setEnvironment(homes[i], kept[i]);
    }
    xdg.empty() ? test::unsetEnvironment("XDG_DATA_HOME")
                : test::setEnvironment("XDG_DATA_HOME", xdg);
}

TEST_F(SafetyFixture, AnUnwritableBackupFolderStillSavesAndTellsTheUser) {
    const std::string path = roster("nobackup.pak");
    fs::create_directories(dir.file("data"));
    test::writeFileBytes(dir.file("data/backups"), {1}); // a file where the folder should be
    const RosterFile file(path);
    const Record loaded = file.readSlot(1);
    const SaveReport report = writeSlotSafely(file, 1, loaded, edited(loaded), options());
    EXPECT_THAT(report.notices, testing::ElementsAre(testing::HasSubstr("No backup of " + path)));
    EXPECT_EQ(file.readSlot(1), edited(loaded));
}

} // namespace
} // namespace qb
