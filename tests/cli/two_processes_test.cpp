// quillbay-cli processes started side by side on one roster, one of them stopped or
// killed at a chosen point of its save (QB_STOP_AT, QB_CRASH_AT) while the other runs.
#include "cli/program_under_test.h"
#include "support/child_process.h"
#include "support/roster_maker.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <optional>
#include <thread>
#include <unistd.h>
#include <utility>

namespace qb {
namespace {

namespace fs = std::filesystem;
using test::finish;
using test::Finished;
using test::RosterMaker;
using test::run;
using test::start;
using test::Started;
using test::TempDir;
using testing::HasSubstr;

// Waits until the process waits at its stop point, which it tells by making its stop file.
void awaitStop(const Started& process) {
    while (!fs::exists(process.outPath + ".stop")) {
        int status = 0;
        ASSERT_EQ(::waitpid(process.pid, &status, WNOHANG), 0)
            << "the process ended before its stop point";
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Lets a process waiting at its stop point go on.
void resume(const Started& process) {
    fs::remove(process.outPath + ".stop");
}

nlohmann::json shown(const TempDir& dir, const std::string& path, int slot) {
    const Finished show = run(dir, {"show", path, std::to_string(slot), "--format", "json"}, "s");
    EXPECT_EQ(show.exitCode, 0) << show.err;
    if (show.exitCode != 0) {
        return nullptr;
    }
    return nlohmann::json::parse(show.out);
}

std::size_t journalCount(const TempDir& dir) {
    std::error_code ignored;
    const fs::directory_iterator files(dir.file("data/Quillbay/journal"), ignored);
    return static_cast<std::size_t>(std::distance(fs::begin(files), fs::end(files)));
}

TEST(TwoProcesses, ReadsDuringASaveRecoverNothingAndAKilledSaveIsUndoneByTheNextWriter) {
    const TempDir dir;
    const std::string path =
        RosterMaker().player(0, "Smith").player(1, "Jones").set(1, 0, {1}).write(dir, "r.pak");
    const Started saving =
        start(dir, {"set", path, "1", "name=Xyzzy", "ratings.bowling.Accuracy=50"}, "saving",
              "after-first-run");
    awaitStop(saving);
    const auto midway = test::readFileBytes(path);
    for (const std::vector<std::string>& read :
         {std::vector<std::string>{"show", path, "1"}, {"list", path}, {"check", path}}) {
        const Finished reader = run(dir, read, "reader");
        EXPECT_EQ(reader.exitCode, 0) << read[0] << ": " << reader.err;
        EXPECT_THAT(reader.err, testing::Not(HasSubstr("cut off")));
    }
    EXPECT_EQ(test::readFileBytes(path), midway);
    EXPECT_EQ(journalCount(dir), 1u);

    ::kill(saving.pid, SIGKILL); // the crash, half-way through its runs
    EXPECT_EQ(finish(saving).exitCode, 128 + SIGKILL);
    const Finished next = run(dir, {"set", path, "1", "ratings.fielding.Accuracy=9"}, "next");
    EXPECT_EQ(next.exitCode, 0) << next.err;
    EXPECT_THAT(next.err, HasSubstr("A save of slot 1 of "));
    EXPECT_THAT(next.err, HasSubstr("restored to its earlier bytes"));
    const nlohmann::json player = shown(dir, path, 1);
    EXPECT_EQ(player["name"], "Jones");
    EXPECT_EQ(player["ratings"]["bowling"]["Accuracy"], 0);
    EXPECT_EQ(player["ratings"]["fielding"]["Accuracy"], 9);
    EXPECT_EQ(journalCount(dir), 0u);

    // Killed again, then the game writes the slot: the journal is set aside, not replayed.
    const Started killed =
        start(dir, {"set", path, "1", "name=Xyzzy", "ratings.bowling.Accuracy=50"}, "killed",
              "after-first-run");
    awaitStop(killed);
    ::kill(killed.pid, SIGKILL);
    finish(killed);
    auto bytes = test::readFileBytes(path);
    bytes[348 + 5] = 'Q';
    test::writeFileBytes(path, bytes);
    const Finished after = run(dir, {"set", path, "0", "name=Smyth"}, "after");
    EXPECT_EQ(after.exitCode, 0);
    EXPECT_THAT(after.err, HasSubstr("set aside"));
    EXPECT_EQ(test::readFileBytes(path)[348 + 5], 'Q');
    const Finished check = run(dir, {"check", path}, "check");
    EXPECT_EQ(check.exitCode, 0) << check.err;
    EXPECT_THAT(check.out, HasSubstr("set aside"));
}

// A writer that runs while another command is stopped before it takes the lock, or
// after reading what its edits are computed from: a Quillbay process waits for it; a
// program that ignores the lock (the game) makes it refuse. Either way no exit-0 change
// is lost, and nothing is read before the lock.
TEST(TwoProcesses, ACommandsEditsAreComputedFromWhatItLastRead) {
    struct Row {
        bool otherIsQuillbay; // else the game writes slot 2's name
        const char* stopAt;
        int exitCode;
        int accuracy; // of slot 2 after both
        bool force = false;
    };
    for (const Row& row :
         {Row{true, "before-edits", 0, 50}, Row{false, "before-edits", 1, 0},
          Row{false, "before-edits", 0, 5, true}, Row{true, "before-lock", 0, 55}}) {
        SCOPED_TRACE(std::string(row.otherIsQuillbay ? "set" : "the game") + " " + row.stopAt +
                     (row.force ? " --force" : ""));
        const TempDir dir;
        const std::string path = RosterMaker()
                                     .player(0, "Smith")
                                     .player(1, "Jones")
                                     .player(2, "Brown")
                                     .write(dir, "r.pak");
        std::vector<std::string> bulk = {"bulk", path, "--set", "ratings.bowling.Accuracy+=5"};
        if (row.force) {
            bulk.emplace_back("--force");
        }
        const Started first = start(dir, bulk, "first", row.stopAt);
        awaitStop(first);
        std::optional<Started> other;
        if (row.otherIsQuillbay) {
            other = start(dir, {"set", path, "2", "ratings.bowling.Accuracy=50"}, "other");
            if (std::string(row.stopAt) == "before-lock") {
                EXPECT_EQ(finish(*std::exchange(other, std::nullopt)).exitCode, 0);
            }
        } else {
            auto bytes = test::readFileBytes(path);
            bytes[2 * 348 + 8] = 'x'; // "Brown" becomes "Browx"
            test::writeFileBytes(path, bytes);
        }
        resume(first);
        const Finished done = finish(first);
        EXPECT_EQ(done.exitCode, row.exitCode) << done.err;
        if (other) {
            EXPECT_EQ(finish(*other).exitCode, 0);
        } else if (row.exitCode != 0) {
            EXPECT_THAT(done.err, HasSubstr("changed by another program"));
        }
        const nlohmann::json brown = shown(dir, path, 2);
        EXPECT_EQ(brown["ratings"]["bowling"]["Accuracy"], row.accuracy);
        EXPECT_EQ(brown["name"], row.otherIsQuillbay ? "Brown" : "Browx");
    }
}

// An import checks the player's ID against the file as it is under the lock: an ID the
// game gave another slot while the import waited is refused.
TEST(TwoProcesses, AnImportChecksItsIdUnderTheLock) {
    const TempDir dir;
    const std::string source =
        RosterMaker().player(0, "Smith").set(0, 0, {105}).write(dir, "s.pak");
    ASSERT_EQ(run(dir, {"export", source, "0", dir.file("p.data")}, "export").exitCode, 0);
    const std::string path = RosterMaker().write(dir, "r.pak");
    const Started importing =
        start(dir, {"import", path, "3", dir.file("p.data"), "--yes"}, "import", "before-lock");
    awaitStop(importing);
    auto bytes = test::readFileBytes(path);
    bytes[4 * 348] = 105; // the game writes a player of ID 105 into slot 4
    test::writeFileBytes(path, bytes);
    resume(importing);
    const Finished done = finish(importing);
    EXPECT_EQ(done.exitCode, 1);
    EXPECT_THAT(done.err, HasSubstr("Duplicate ID: ID 105 is held by slot 4"));
    EXPECT_EQ(test::readFileBytes(path), bytes);
}

// Matched by ID, apply and copy find each player's slot under the lock, in the bytes the
// edits are computed from: a player the game empties while the command waits is not
// written, and is listed as unmatched.
TEST(TwoProcesses, PlayersMatchedByIdAreFoundInWhatTheCommandLastRead) {
    const TempDir dir;
    RosterMaker maker;
    for (int slot = 0; slot < 6; ++slot) {
        maker.player(slot, "Player" + std::to_string(slot))
            .set(slot, 0, {std::uint8_t(100 + slot)});
    }
    const std::string source = maker.write(dir, "source.pak");
    ASSERT_EQ(run(dir, {"set", source, "5", "ratings.bowling.Accuracy=50"}, "s").exitCode, 0);
    std::ofstream(dir.file("patch.json")) << R"([{"id":105,"name":"New"}])";
    struct Row {
        std::vector<std::string> args; // the roster comes last
        std::string unmatched;
    };
    const std::string path = dir.file("r.pak");
    for (const Row& row :
         {Row{{"apply", path, dir.file("patch.json"), "--match", "id"}, "id 105: no player"},
          Row{{"copy", source, path, "--match", "id"}, "slot 5 (Player5): no match"}}) {
        SCOPED_TRACE(row.args[0]);
        maker.write(dir, "r.pak");
        const Started first = start(dir, row.args, "first", "before-edits");
        awaitStop(first);
        auto bytes = test::readFileBytes(path);
        bytes[5 * 348 + 4] = 0; // the game empties slot 5
        test::writeFileBytes(path, bytes);
        resume(first);
        const Finished done = finish(first);
        EXPECT_EQ(done.exitCode, 0) << done.err;
        EXPECT_THAT(done.out, HasSubstr(row.unmatched));
        EXPECT_EQ(test::readFileBytes(path), bytes);
    }
}

// A reader that finds a running save's journal, then looks at its owner after the save
// ended and removed it, does not report the save as cut off.
TEST(TwoProcesses, ASaveThatEndsWhileAReaderLooksIsNotCalledCutOff) {
    const TempDir dir;
    const std::string path = RosterMaker().player(0, "Smith").write(dir, "r.pak");
    for (const std::vector<std::string>& read :
         {std::vector<std::string>{"check", path}, {"show", path, "0"}}) {
        SCOPED_TRACE(read[0]);
        const Started saving =
            start(dir, {"set", path, "0", "name=" + read[0]}, "saving", "after-journal");
        awaitStop(saving);
        const Started reader = start(dir, read, "reader", "before-owner-check");
        awaitStop(reader);
        resume(saving);
        EXPECT_EQ(finish(saving).exitCode, 0);
        resume(reader);
        const Finished looked = finish(reader);
        EXPECT_EQ(looked.exitCode, 0) << looked.err;
        EXPECT_THAT(looked.out + looked.err, testing::Not(HasSubstr("cut off")));
    }
}

// A batch cut off part-way is a pending save of the file under any later name: check
// reports it (exit 1, naming its slots), reads say so, and the next writer finds it by
// the file's identity, opens the file by the name it was given and undoes the batch.
TEST(TwoProcesses, ACutOffBatchIsReportedAndUndoneUnderTheFilesNewName) {
    const TempDir dir;
    const std::string path =
        RosterMaker().player(0, "Smith").player(1, "Jones").player(2, "Brown").write(dir, "r1.pak");
    const Started bulk =
        start(dir, {"bulk", path, "--set", "ratings.bowling.Accuracy+=5"}, "bulk", "after-slot-2");
    awaitStop(bulk);
    ::kill(bulk.pid, SIGKILL);
    finish(bulk);
    const std::string renamed = dir.file("r2.pak");
    fs::rename(path, renamed);
    const Finished check = run(dir, {"check", renamed}, "check");
    EXPECT_EQ(check.exitCode, 1);
    // The journal names the file as the system spells it (Z:\... under Wine).
    EXPECT_THAT(check.out, HasSubstr("error: " + renamed + ": journal: A save of "));
    EXPECT_THAT(check.out, HasSubstr("r2.pak (slots 0, 1, 2) was cut off"));
    const Finished list = run(dir, {"list", renamed}, "list");
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_THAT(list.err, HasSubstr("mixes its old and new bytes"));

    const Finished set = run(dir, {"set", renamed, "1", "name=Later"}, "set");
    EXPECT_EQ(set.exitCode, 0) << set.err;
    EXPECT_THAT(set.err, HasSubstr("slots 0, 1, 2 of "));
    EXPECT_THAT(set.err, HasSubstr("the slots were restored to their earlier bytes"));
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(shown(dir, renamed, slot)["ratings"]["bowling"]["Accuracy"], 0) << slot;
    }
    EXPECT_EQ(shown(dir, renamed, 1)["name"], "Later");
    EXPECT_EQ(journalCount(dir), 0u);
    EXPECT_THAT(run(dir, {"check", renamed}, "check").out, testing::Not(HasSubstr("journal")));
}

// A batch cut off part-way in a file that has left its file system since (here a copy,
// the original deleted or kept) is known by its content: check reports it, a writer
// refuses it until told to complete or undo it, and the journal stays while the original
// file does.
TEST(TwoProcesses, ACutOffBatchIsKnownByItsContentInAFileMovedOrCopied) {
    struct Row {
        const char* choice;
        bool originalKept;
        int accuracy; // of slots 0 to 2 afterwards
    };
    for (const Row& row :
         {Row{"undo", false, 0}, Row{"complete", false, 5}, Row{"undo", true, 0}}) {
        SCOPED_TRACE(std::string(row.choice) + (row.originalKept ? ", original kept" : ""));
        const TempDir dir;
        const std::string path = RosterMaker()
                                     .player(0, "Smith")
                                     .player(1, "Jones")
                                     .player(2, "Brown")
                                     .write(dir, "r1.pak");
        const Started bulk = start(dir, {"bulk", path, "--set", "ratings.bowling.Accuracy+=5"},
                                   "bulk", "after-slot-2");
        awaitStop(bulk);
        ::kill(bulk.pid, SIGKILL);
        finish(bulk);
        const std::string moved = dir.file("moved.pak");
        fs::copy_file(path, moved); // a file of its own, as on another file system
        if (!row.originalKept) {
            fs::remove(path);
        }
        const Finished check = run(dir, {"check", moved}, "check");
        EXPECT_EQ(check.exitCode, 1);
        EXPECT_THAT(check.out, HasSubstr("moved.pak (slots 0, 1, 2) was cut off"));
        EXPECT_THAT(check.out, HasSubstr("--cut-off complete or --cut-off undo"));
        EXPECT_THAT(run(dir, {"list", moved}, "list").err, HasSubstr("mixes its old and new"));
        const auto before = test::readFileBytes(moved);
        const Finished refused = run(dir, {"set", moved, "1", "name=Later"}, "set");
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_THAT(refused.err, HasSubstr("nothing was written"));
        EXPECT_EQ(test::readFileBytes(moved), before);

        const Finished set =
            run(dir, {"set", moved, "1", "name=Later", "--cut-off", row.choice}, "set");
        EXPECT_EQ(set.exitCode, 0) << set.err;
        EXPECT_THAT(set.err, HasSubstr(std::string("it was ") +
                                       (row.accuracy == 0 ? "undone" : "completed") + " as asked"));
        for (int slot = 0; slot < 3; ++slot) {
            EXPECT_EQ(shown(dir, moved, slot)["ratings"]["bowling"]["Accuracy"], row.accuracy);
        }
        EXPECT_EQ(shown(dir, moved, 1)["name"], "Later");
        EXPECT_EQ(journalCount(dir), row.originalKept ? 1u : 0u);
        EXPECT_THAT(run(dir, {"check", moved}, "check").out, testing::Not(HasSubstr("journal")));
    }
}

} // namespace
} // namespace qb
