#include "cli/program_under_test.h"
#include "codecs/demo_roster.h"
#include "images/demo_game.h"
#include "player/demo_files.h"
#include "player/field_groups.h"
#include "player/player_object.h"
#include "roster/roster_file.h"
#include "support/child_process.h"
#include "support/record_generator.h"
#include "support/roster_maker.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <sys/stat.h>

namespace qb {
namespace {

using test::RosterMaker;
using test::TempDir;
using testing::HasSubstr;

using CliRun = test::Finished;

std::string slurp(const std::string& path) {
    const std::vector<std::uint8_t> bytes = test::readFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

// Runs quillbay-cli; a run that outlives the children's time limit fails the test.
CliRun cli(const TempDir& dir, const std::vector<std::string>& args) {
    const CliRun run = test::run(dir, args, "cli");
    EXPECT_NE(run.exitCode, 128 + SIGALRM)
        << args[0] << " outlived the children's time limit (" << test::childTimeLimitSeconds()
        << " s, QB_TEST_CHILD_SECONDS)";
    return run;
}

// The standard output of a run that must exit with `exitCode`; any other end (a failure,
// a kill at the time limit) throws, so half of an output is never used as a whole.
std::string output(const TempDir& dir, const std::vector<std::string>& args, int exitCode = 0) {
    const CliRun run = cli(dir, args);
    if (run.exitCode != exitCode) {
        throw std::runtime_error("quillbay-cli " + args[0] + " exited " +
                                 std::to_string(run.exitCode) + ", not " +
                                 std::to_string(exitCode) + ": " + run.err);
    }
    return run.out;
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
    if (path.ends_with(".csv") || path.ends_with(".json")) {
        test::saveSeed("edits", {text.begin(), text.end()});
    }
}

// A command and what it must give: its exit code, a piece of stderr, all of stdout (when
// given). A command that fails or is a dry run leaves `watched` as it was.
struct Step {
    std::vector<std::string> args;
    int exitCode;
    std::string err = "";
    std::optional<std::string> out = std::nullopt;
};

void runSteps(const TempDir& dir, const std::string& watched, const std::vector<Step>& steps) {
    for (const Step& step : steps) {
        const auto before = test::readFileBytes(watched);
        const CliRun run = cli(dir, step.args);
        SCOPED_TRACE(step.args[0] + " " + step.args.back() + ": " + run.err);
        EXPECT_EQ(run.exitCode, step.exitCode);
        EXPECT_EQ(run.out, step.out.value_or(run.out));
        EXPECT_THAT(run.err, HasSubstr(step.err));
        if (step.exitCode != 0 || std::ranges::count(step.args, "--dry-run") != 0) {
            EXPECT_EQ(test::readFileBytes(watched), before);
        }
    }
}

TEST(Cli, ListsTheLeadingRunOrAllSlots) {
    const TempDir dir;
    const std::string path = RosterMaker()
                                 .player(0, "Adams")
                                 .player(1, "Smith, Jr", 3)
                                 .player(3, "Hidden")
                                 .write(dir, "r.pak");
    EXPECT_THAT(output(dir, {"list", path}), testing::AllOf(HasSubstr("   0      0  ENG     Adams"),
                                                            testing::Not(HasSubstr("Hidden"))));

    const auto json =
        nlohmann::json::parse(output(dir, {"list", path, "--all", "--format", "json"}));
    ASSERT_EQ(json.size(), 1600u);
    EXPECT_EQ(json[1]["nation"], nullptr);
    EXPECT_EQ(json[3]["name"], "Hidden");

    EXPECT_EQ(output(dir, {"list", path, "--format", "csv"}),
              "slot,id,name,nation\r\n0,0,Adams,ENG\r\n1,0,\"Smith, Jr\",\r\n");
}

// A roster named outside ASCII, and for the Windows build also spelled with a drive
// letter (Wine's drive Z: is the root), with backslashes, with slashes and as a
// long-path name (\\?\Z:\..., whose root begins with two backslashes as a UNC one does; Wine
// reaches no share, so a real \\server\share path is not tried): each spelling lists and edits it,
// and backs it up beside the others.
TEST(Cli, EverySpellingOfAPathReachesTheRoster) {
    const TempDir dir;
    const std::string path = RosterMaker()
                                 .player(0, "Smith")
                                 .write(dir, "M\u00fcller \u03a9\u03bc\u03ad\u03b3\u03b1.pak");
    std::vector<std::string> spellings = {path};
    if (test::programIsWindowsBuild()) {
        std::string windows = "Z:" + path;
        spellings.push_back(windows);
        std::ranges::replace(windows, '/', '\\');
        spellings.push_back(windows);
        spellings.push_back("\\\\?\\" + windows);
    }
    for (const std::string& spelling : spellings) {
        SCOPED_TRACE(spelling);
        EXPECT_THAT(output(dir, {"list", spelling}), HasSubstr("Smith"));
        const CliRun set = cli(dir, {"set", spelling, "0", "name=Jones"});
        EXPECT_EQ(set.exitCode, 0) << set.err;
        EXPECT_EQ(recordName(test::readFileBytes(path).data()), "Jones");
        EXPECT_EQ(cli(dir, {"set", spelling, "0", "name=Smith"}).exitCode, 0);
    }
    // Every spelling names one file: its backups share one folder.
    EXPECT_EQ(Json::parse(output(dir, {"backups", path, "--format", "json"})).size(),
              2 * spellings.size());
}

TEST(Cli, RepairMakesLockedSlotsEditableAgain) {
    const TempDir dir;
    const std::string path = RosterMaker()
                                 .player(0, "Good")
                                 .set(0, 104, {56})
                                 .player(1, "Two Nations", 0x0A)
                                 .set(1, 104, {56})
                                 .set(1, 2, {0xD0, 0x07}) // commentary 2000
                                 .write(dir, "r.pak");
    const std::string dry = "slot 1: would change nation 2 bits -> BAN, commentary 2000 -> 1015\n";
    runSteps(
        dir, path,
        {{{"set", path, "1", "ratings.bowling.Accuracy=5"},
          1,
          path +
              ": slot 1: nation: Invalid property value: the file holds 2 bits, which the "
              "editor cannot show; quillbay-cli repair " +
              path + " 1 sets it to BAN; nothing was written\n"},
         {{"repair", path, "1", "1"}, 1, "given twice in one save; nothing was written"},
         {{"repair", path, "--dry-run"}, 0, "", dry},
         {{"repair", path, "--dry-run", "--verbose"}, 0, "", dry + "slot 1: would write 2 3 216\n"},
         {{"repair", path, "00", "01", "--no-backup"},
          0,
          "",
          "slot 0: no change\nslot 1: nation: 2 bits -> BAN\nslot 1: commentary: 2000 -> "
          "1015\nslot 1: wrote 2 3 216\n"},
         {{"set", path, "1", "commentary=1016"}, 2},
         {{"set", path, "1", "ratings.bowling.Accuracy=5"}, 0},
         {{"repair", path, "5"}, 1}}); // an empty slot
    // Of the two saves, only the one without --no-backup backed the file up.
    EXPECT_EQ(Json::parse(output(dir, {"backups", path, "--format", "json"})).size(), 1u);
}

// One roster for every refusal: a healthy player at 0 and 10, a face out of range at 1, a
// stray bit that hides a batting style at 2.
std::string refusalRoster(const TempDir& dir) {
    Record r = test::playerRecord("Smith");
    r[108] = 0x01;
    r[104] = 56;
    RosterMaker maker;
    maker.record(0, r).player(1, "Broken").set(1, 205, {40});
    maker.player(2, "Stray").set(2, 106, {0x10, 8});
    return maker.record(10, r).write(dir, "r.pak");
}

TEST(Cli, SetAndApplyWriteWhatTheWindowWouldAndRefusalsWriteNothing) {
    const TempDir dir;
    const std::string path = refusalRoster(dir);
    std::string deep = R"([{"slot": 1, "a": )";
    for (int depth = 0; depth < 30000; ++depth) {
        deep += R"({"a": )";
    }
    std::ofstream(dir.file("deep.json")) << deep;
    for (const char* fifo : {"fifo.pak", "fifo.json", "fifo.data", "fifo.tga"}) {
        ASSERT_EQ(::mkfifo(dir.file(fifo).c_str(), 0600), 0);
    }
    const auto apply = [&](const char* name, const char* text = nullptr) {
        if (text != nullptr) {
            writeText(dir.file(name), text);
        }
        return std::vector<std::string>{"apply", path, dir.file(name)};
    };
    const auto set = [&](const char* slot, const char* edit) {
        return std::vector<std::string>{"set", path, slot, edit};
    };
    const std::string chinaman = "roles.bowlingStyle=Chinaman";
    // Long, but within the 32,767 characters of a Windows command line.
    const std::string huge = "name=" + std::string(20000, 'x');
    // 300,000 entries, then junk: read in one pass, refused where the junk starts.
    std::string many = "[";
    for (int entry = 0; entry < 300000; ++entry) {
        many += "{\"slot\": " + std::to_string(entry % 1600) + ", \"name\": \"X\"},";
    }
    many.back() = ']';
    std::ofstream(dir.file("many.json")) << many << "\n junk";
    std::string wide = R"([{"slot": 0)";
    for (int key = 0; key < 1000; ++key) {
        wide += ", \"k" + std::to_string(key) + "\": 0";
    }
    std::ofstream(dir.file("wide.json")) << wide << "}]";
    runSteps(
        dir, path,
        {
            {set("0", "roles.bowlingStyle=Googly"), 2, "roles.bowlingStyle"},
            {set("0", "nope=1"), 2, "unknown key \"nope\""},
            {set("0", "id=5"), 2, "read-only"},
            {set("0", "ratings.bowling.Accuracy=64"), 2, "0 to 63"},
            {set("0", "name=ABCDEFGHIJKLMNOP"), 2, "at most 15"},
            {set("0", "name=Snow\xE2\x98\x83"), 2, "Windows-1252"},
            {set("0", "statistics.Test.highestScore=700"), 2, "0 to 639"},
            {set("0", "statistics.Test.innings=."), 2, "\".\" for statistics.Test.innings"},
            {set("0", "statistics.Test.innings=99999999999999999999"), 2, "0 to "},
            {set("0", "name=Tab\tName"), 2, "control characters"},
            {set("0", huge.c_str()), 2, "xxx...\" (cut; 20000 bytes in all) for name"},
            {set("0", "name= "), 1, "slot 0: name: an empty name empties the slot"},
            {set("0", "name= "), 1, "nothing was written (--yes empties it)\n"}, // said once
            {{"set", path, "0", "name=A", "name=B"}, 2, "the key \"name\" is given twice"},
            {set("2", "roles.battingStyle=Defensive"), 1,
             "roles.battingStyle: the value asked, \"Defensive\", would not be kept: it would show "
             "as \"Moderate\""},
            {set("1", "name=Fixed"), 1, "slot 1: appearance.face: Invalid property value"},
            {set("1600", "name=X"), 2, "1599"},
            {set("4294967296", "name=X"), 2, "1599"},
            {set("0599", "name=X"), 1, "slot 599 is empty; use import; nothing was written"},
            {{"set", dir.file("missing.pak"), "0", "name=X"}, 1, "missing.pak"},
            {{"show", path, "x"}, 2, "x"},
            {apply("a.csv", "slot,name\r\n0,Changed\r\n10,\"bad"), 1, "not closed"},
            {apply("b.csv", "slot,name,colour\r\n0,Changed,red\r\n"), 1,
             "unknown column \"colour\""},
            {apply("c.csv", "slot,ratings.bowling.Accuracy\r\n0,20\r\n10,99\r\n"), 1,
             "row 3: column ratings.bowling.Accuracy"},
            {apply(
                 "d.json",
                 R"([{"slot": 0, "name": "Changed"}, {"slot": 10, "roles": {"battingHand": "Both"}}])"),
             1, "entry 1"},
            {apply(
                 "e.json",
                 R"([{"slot": 0, "name": "Changed"}, {"slot": 10, "statistics": {"Test": {"fifties": 300}}}])"),
             1, "entry 1: Invalid value \"300\" for statistics.Test.fifties"},
            {apply("f.json", R"({"slot": 0})"), 1, "not a JSON array"},
            {apply("g.json", R"([{"slot": 4294967296, "name": "Hacked"}])"), 1,
             "entry 0: needs \"slot\""},
            {apply("j.json", R"([{"slot": "1", "name": "Hacked"}])"), 1, "entry 0: needs \"slot\""},
            {apply("k.json", R"([{"slot": 0, "name": ["X"]}])"), 1,
             "name takes a single value, not an array"},
            {apply("l.json", R"([{"slot": 0, "name": {"a": "X"}}])"), 1, "not an object"},
            {apply("m.json", R"([{"slot": 0, "name": "Changed"}, {"slot": 10, "name": ""}])"), 1,
             "slot 10: name: an empty name"},
            {apply("n.json", R"([1, 2])"), 1, "needs \"slot\""},
            {apply("id.json", R"([{"id": 0, "name": "X"}])"), 1,
             "entry 0: needs \"slot\", a whole number from 0 to 1599 (the entries name players by "
             "\"id\": use --match id)"},
            {apply("id.csv", "id,name\r\n0,X\r\n"), 1,
             "no \"slot\" column (the rows name players by \"id\": use --match id)"},
            {apply("dup.csv", "slot,name\r\n0,X\r\n0,Y\r\n"), 1, "appears more than once"},
            {apply("dup.json", R"([{"slot": 10, "name": "X"}, {"slot": 10, "name": "Y"}])"), 1,
             "appears more than once"},
            {apply("o.json", R"([{"slot": 0, "name": "A\u0000B"}])"), 1,
             "Invalid value \"A\\x00B\" for name: a name cannot hold control characters"},
            {apply("p.json", "[{\"slot\": 0},\n {\"slot\": 10, },]"), 1,
             "p.json: line 2, column 15: not a JSON array of player objects (syntax error"},
            {apply("q.json", "[{\"slot\": 0, \"name\": \"Caf\xE9\"}]"), 1,
             "q.json: line 1, column 27: not a JSON array of player objects (syntax error while "
             "parsing value - invalid string: ill-formed UTF-8 byte)"},
            {apply("r.json", R"([{"slot": 0, "statistics": {"Test": {"innings": 1e400}}}])"), 1,
             "line 1, column 53: not a JSON array of player objects (number overflow parsing "
             "'1e400')"},
            {apply("s.json", R"([{"slot": 0, "name": "A", "name": "B"}])"), 1,
             "s.json: the key \"name\" appears twice in one object"},
            {apply("many.json"), 1, "many.json: line 2, column 2: not a JSON array"},
            {apply("wide.json"), 1, "wide.json: an object holds more than 1000 keys"},
            {apply("t.csv", "slot,name,name\r\n0,A,B\r\n"), 1,
             "row 1: the column \"name\" appears twice"},
            {apply(
                 "u.json",
                 R"([{"slot": 0, "ratings": {"bowling": {"Accuracy": 5}}, "ratings.bowling.Accuracy": 6}])"),
             1, "entry 0: the key \"ratings.bowling.Accuracy\" is given twice"},
            {apply("missing.csv"), 1, "missing.csv"},
            {apply("deep.json"), 1, "nested deeper"},
            {apply("fifo.json"), 1, "fifo.json for reading: it is not a regular"},
            {{"list", dir.path().string()}, 1, "not a regular file"},
            {{"show", dir.file("none.pak"), "0"}, 1, "none.pak"},
            {{"list", dir.file("fifo.pak")}, 1, "fifo.pak for reading: it is not a regular file"},
            {{"import", path, "1", dir.file("fifo.data"), "--yes"},
             1,
             "fifo.data for reading: it is"},
            {{"tga", dir.file("fifo.tga")}, 1, "fifo.tga for reading: it is not a regular file"},
            {{"set", path, "0", chinaman, "name=Bea", "--dry-run"},
             0,
             "",
             "slot 0: would change name \"Smith\" -> \"Bea\", roles.bowlingStyle \"Off Spin\" -> "
             "\"Chinaman\"\n"},
            {{"set", path, "0", chinaman, "--dry-run", "--verbose"},
             0,
             "",
             "slot 0: would change roles.bowlingStyle \"Off Spin\" -> \"Chinaman\"\n"
             "slot 0: would write 108 109\n"},
            {set("0", chinaman.c_str()), 0, "", "slot 0: wrote 108 109\n"},
            {set("0", chinaman.c_str()), 0, "", "slot 0: no change\n"},
            {{"set", path, "0010", chinaman, "--verbose"},
             0,
             "",
             "slot 10: changed roles.bowlingStyle \"Off Spin\" -> \"Chinaman\"\n"
             "slot 10: wrote 108 109\n"}, // decimal, not octal 8
            {{"set", path, "0", "name=", "--yes"}, 0, "", "slot 0: wrote 4 5 6 7 8\n"},
        });
}

// Every command that writes a roster (or a picture) refuses a FIFO at once rather than
// waiting for a reader or writer at its other end (the lock's open as much as the read's).
TEST(Cli, NoWritingCommandWaitsOnAFifo) {
    const TempDir dir;
    const std::string path = RosterMaker().player(0, "Smith").write(dir, "r.pak");
    const std::string fifo = dir.file("fifo.pak");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(cli(dir, {"export", path, "0", dir.file("p.data")}).exitCode, 0);
    writeText(dir.file("e.json"), R"([{"slot": 0, "name": "X"}])");
    test::writeFileBytes(dir.file("a.tga"), {0, 0, 2, 0, 0, 0,  0, 0, 0, 0, 0,
                                             0, 1, 0, 1, 0, 24, 0, 1, 2, 3}); // one pixel
    // Wine shows a FIFO to a Windows program as a device.
    const std::string refused = "fifo.pak for locking: it is not a regular file (it is a ";
    runSteps(dir, path,
             {{{"set", fifo, "0", "name=X"}, 1, refused},
              {{"bulk", fifo, "--set", "name=X"}, 1, refused},
              {{"apply", fifo, dir.file("e.json")}, 1, refused},
              {{"import", fifo, "0", dir.file("p.data"), "--yes"}, 1, refused},
              {{"repair", fifo}, 1, refused},
              {{"restore", fifo, path}, 1, refused},
              {{"copy", path, "0", fifo, "0"}, 1, refused},
              {{"copy", path, fifo, "--match", "slot"}, 1, refused},
              {{"tga", dir.file("a.tga"), fifo}, 1, "fifo.pak for writing: it is not a regular"}});
}

// A roster many times a saved game's size, or an edits file past 64 MiB, is refused
// before it is read or backed up; a roster below that is backed up byte for byte.
TEST(Cli, HugeFilesAreRefusedNamingTheirSize) {
    namespace fs = std::filesystem;
    const TempDir dir;
    const std::string huge = dir.file("huge.pak");
    const std::string edits = dir.file("huge.json");
    std::ofstream(huge).close();
    fs::resize_file(huge, std::int64_t{10} << 30); // sparse: no disk is used
    std::ofstream(edits).close();
    fs::resize_file(edits, (std::int64_t{64} << 20) + 1);
    // Three megabytes, the slot table first: its backup is copied in several pieces.
    const std::string path =
        RosterMaker().player(0, "Smith").trailer(std::size_t{3} << 20).write(dir, "big.pak");
    const auto big = test::readFileBytes(path);
    const std::string far = " bytes, far more than a saved game (556932 bytes)";
    runSteps(dir, path,
             {{{"list", huge}, 1, huge + " has 10737418240" + far},
              {{"set", huge, "0", "name=X"}, 1, "10737418240" + far},
              {{"apply", path, edits},
               1,
               "huge.json is too large for an edits file: it has 67108865 bytes, and at most "
               "67108864 are read"},
              {{"set", path, "0", "name=Jones"}, 0}});
    EXPECT_EQ(fs::file_size(huge), std::uint64_t{10} << 30);
    const auto backups = Json::parse(output(dir, {"backups", path, "--format", "json"}));
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(test::readFileBytes(test::hostPath(backups[0]["path"])), big);
}

// The player `show` gives of a slot, as set's KEY=VALUE arguments for the selected fields.
std::vector<std::string> shownValues(const TempDir& dir, const std::string& file, int slot,
                                     const FieldSelection& selection) {
    const Json player =
        Json::parse(output(dir, {"show", file, std::to_string(slot), "--format", "json"}));
    std::vector<std::string> assignments;
    for (const Field& field : fieldRegistry()) {
        if (!field.readOnly() && selection.contains(field)) {
            assignments.push_back(field.key + "=" + valueText(getDotted(player, field.key)));
        }
    }
    return assignments;
}

TEST(Cli, CopyWritesWhatSetWritesForTheSameValues) {
    const TempDir dir;
    std::vector<std::string> groups = fieldSelectionNames();
    groups.emplace_back(); // the whole player: no --only
    const auto shown = [&dir](const std::string& file, const char* slot) {
        return Json::parse(output(dir, {"show", file, slot, "--format", "json"}));
    };
    for (const std::string kind : {"pak", "sav"}) {
        const std::string from = test::generatedPlayers(1, 3).write(dir, "from." + kind);
        const std::string to = test::generatedPlayers(2, 3).write(dir, "to." + kind);
        // Hands that differ, so that copying the roles changes the fielding hand.
        const bool left = shown(from, "1")["roles"]["fieldingHand"] == "Left";
        output(dir,
               {"set", to, "2", left ? "roles.fieldingHand=Right" : "roles.fieldingHand=Left"});
        const std::string expected = dir.file("expected." + kind);
        const auto original = test::readFileBytes(to);
        for (std::size_t i = 0; i < groups.size(); ++i) {
            SCOPED_TRACE(kind + " --only " + groups[i]);
            test::writeFileBytes(to, original);
            test::writeFileBytes(expected, original);
            // Every other group is copied within the target file.
            const bool sameFile = i % 2 == 1;
            const std::string source = sameFile ? to : from;
            std::vector<std::string> set = {"set", expected, "2", "--no-backup"};
            std::ranges::copy(shownValues(dir, source, 1, parseFieldSelection(groups[i])),
                              std::back_inserter(set));
            std::vector<std::string> args = {"copy", source, "1", to, "2"};
            if (!groups[i].empty()) {
                args.insert(args.end(), {"--only", groups[i]});
            }
            const CliRun copy = cli(dir, args);
            EXPECT_EQ(copy.exitCode, 0) << copy.err;
            EXPECT_EQ(copy.out, output(dir, set));
            EXPECT_THAT(copy.out, HasSubstr("wrote"));
            EXPECT_EQ(test::readFileBytes(to), test::readFileBytes(expected));
            // Every field of the group is the source's now, whichever group the registry
            // files it under (the identity and shots groups have no key of their own).
            EXPECT_EQ(getDotted(shown(to, "2"), groups[i]),
                      getDotted(shown(source, "1"), groups[i]));
        }
        test::writeFileBytes(to, original);
        runSteps(dir, to,
                 {{{"copy", from, "1", to, "2"}, 0},
                  {{"copy", from, "1", to, "2"}, 0, "", "slot 2: no change\n"},
                  {{"copy", from, "1", to, "7"}, 1, "slot 7 is empty; use import"},
                  {{"copy", from, "7", to, "1"}, 1, "slot 7 of " + from + " is empty"},
                  {{"copy", from, "1", to, "2", "--only", "ratings,batting"},
                   2,
                   "unknown field group \"batting\""},
                  {{"copy", from, "1", to, "2", "--only", "ratings,"}, 2, "an empty field group"},
                  {{"copy", from, "1", to, "2", "--only", ""}, 2, "an empty field group name"},
                  {{"copy", from, "1", to, "2", "--only", " "}, 2, "an empty field group name"},
                  {{"copy", from, to, "2"}, 2, "FROM FROM_SLOT TO TO_SLOT"},
                  {{"copy", from, "1", to, "1600"}, 2, "1599"}});
    }
}

TEST(Cli, RestoreWritesTheChosenSlotsAndNeverTheHeader) {
    const TempDir dir;
    const std::string game = test::generatedPlayers(3, 4).header("MINE").write(dir, "game.sav");
    const std::string source = test::generatedPlayers(4, 4).header("THEIRS").write(dir, "old.sav");
    const auto before = test::readFileBytes(game);
    const auto theirs = test::readFileBytes(source);
    // The game as it was, with those slots of the source.
    const auto with = [&](std::initializer_list<int> slots) {
        auto bytes = before;
        for (const int slot : slots) {
            const auto at = static_cast<std::ptrdiff_t>(SAVE_HEADER_SIZE + slot * SLOT_SIZE);
            std::copy_n(theirs.begin() + at, SLOT_SIZE, bytes.begin() + at);
        }
        return bytes;
    };
    RosterMaker().player(0, "Other").write(dir, "r.pak");
    test::writeFileBytes(dir.file("short.sav"), std::vector<std::uint8_t>(theirs.size() - 1));
    test::writeFileBytes(dir.file("long.sav"), std::vector<std::uint8_t>(theirs.size() + 1));
    runSteps(dir, game,
             {{{"restore", game, dir.file("r.pak")}, 1, "is a roster file"},
              {{"restore", game, dir.file("short.sav")}, 1, "bytes"},
              {{"restore", game, dir.file("long.sav")}, 1, "bytes"},
              {{"restore", game, source, "--slots", "1,1600"}, 2, "1599"},
              {{"restore", game, source, "--slots", "1,3", "--dry-run"}, 0}});
    EXPECT_THAT(output(dir, {"restore", game, source, "--slots", "3", "--dry-run"}),
                testing::AllOf(testing::StartsWith("slot 3: would change nation \"BAN\" -> "
                                                   "\"AUS\", commentary 259 -> 591, "),
                               HasSubstr(", bytes no field covers 113 114 "),
                               testing::Not(HasSubstr("wrote"))));
    EXPECT_THAT(output(dir, {"restore", game, source, "--slots", "3,1"}),
                HasSubstr("slot 3: wrote"));
    EXPECT_EQ(test::readFileBytes(game), with({1, 3}));
    const CliRun rest = cli(dir, {"restore", game, source});
    EXPECT_THAT(rest.out, testing::AllOf(HasSubstr("slot 0: wrote"), HasSubstr("slot 2: wrote"),
                                         testing::Not(HasSubstr("slot 1"))));
    EXPECT_EQ(test::readFileBytes(game), with({0, 1, 2, 3}));
    // Each restore backed the game up first; the newest comes first.
    const auto backups = Json::parse(output(dir, {"backups", game, "--format", "json"}));
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(test::readFileBytes(test::hostPath(backups[0]["path"])), with({1, 3}));
    EXPECT_EQ(backups[0]["differingSlots"], 2);
    EXPECT_EQ(test::readFileBytes(test::hostPath(backups[1]["path"])), before);
    EXPECT_EQ(backups[1]["differingSlots"], 4);

    // Eleven scripted edits later the game as it was before the day's first change is
    // still there, and a restore never deletes the backup it reads, though the backup it
    // makes first would otherwise rotate that one out.
    for (int i = 0; i < 11; ++i) {
        ASSERT_EQ(cli(dir, {"set", game, "0", "skills.Slogger=" + std::string(i % 2 ? "1" : "0")})
                      .exitCode,
                  0);
    }
    auto listed = Json::parse(output(dir, {"backups", game, "--format", "json"}));
    ASSERT_EQ(listed.size(), 11u);
    EXPECT_EQ(test::readFileBytes(test::hostPath(listed.back()["path"])), before);
    EXPECT_THAT(listed.back()["kept"].get<std::string>(), testing::StartsWith("first of "));
    const std::string oldest = test::hostPath(listed[9]["path"]);
    ASSERT_EQ(listed[9]["kept"], "newest");
    EXPECT_THAT(output(dir, {"restore", game, oldest}), HasSubstr("wrote"));
    listed = Json::parse(output(dir, {"backups", game, "--format", "json"}));
    EXPECT_TRUE(std::filesystem::exists(oldest));
    EXPECT_EQ(listed.size(), 12u);

    // Nor does a later save while no backup holds the file as the restore left it (the
    // game wrote it since); once one does, the source goes as any other.
    auto changed = test::readFileBytes(game);
    changed[SAVE_HEADER_SIZE + 5] ^= 1; // the game renames slot 0's player
    test::writeFileBytes(game, changed);
    const std::vector<std::string> save = {"set", game, "1", "skills.Slogger=1"};
    ASSERT_EQ(cli(dir, save).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(oldest));
    listed = Json::parse(output(dir, {"backups", game, "--format", "json"}));
    EXPECT_EQ(listed.size(), 12u);
    EXPECT_EQ(test::hostPath(listed[10]["path"]), oldest);
    EXPECT_EQ(listed[10]["kept"], "read by a restore");
    ASSERT_EQ(cli(dir, {"restore", game, oldest}).exitCode, 0);
    ASSERT_EQ(cli(dir, {"set", game, "1", "skills.Slogger=0"}).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(oldest));
}

// A patch carries the changed fields of players matched by ID into a roster where they
// sit in other slots; by slot, it makes a copy of the first roster show the second.
TEST(Cli, PatchesCarryChangedFieldsToThePlayersWhereverTheySit) {
    const TempDir dir;
    const std::string a = test::generatedPlayers(5, 6).write(dir, "a.pak");
    const std::string b = dir.file("b.pak");
    test::writeFileBytes(b, test::readFileBytes(a));
    for (const auto& [slot, edit] :
         std::vector<std::pair<std::string, std::string>>{{"1", "ratings.batting.Attack=63"},
                                                          {"1", "statistics.One Day.innings=77"},
                                                          {"4", "name=Renamed"},
                                                          {"5", "skills.Injury Free=2"}}) {
        ASSERT_EQ(cli(dir, {"set", b, slot, edit, "--no-backup"}).exitCode, 0);
    }
    // The same players in reverse order, and one of another ID in the place of ID 104.
    Record stranger = test::playerRecord("Stranger");
    stranger[OFFSET_ID] = 200;
    const RosterFile original(a);
    RosterMaker reversed;
    for (int slot = 0; slot < 6; ++slot) {
        reversed.record(5 - slot, slot == 4 ? stranger : original.readSlot(slot));
    }
    const std::string mine = reversed.write(dir, "mine.pak");
    writeText(dir.file("update.json"),
              output(dir, {"diff", a, b, "--format", "patch", "--match", "id"}, 1));
    EXPECT_THAT(output(dir, {"apply", mine, dir.file("update.json"), "--match", "id"}),
                HasSubstr("id 104: no player with this ID"));
    const auto players = [&](const std::string& file) {
        std::map<int, Json> byId;
        for (Json player : Json::parse(output(dir, {"dump", file}))) {
            player.erase("slot");
            byId[player["id"].get<int>()] = player;
        }
        return byId;
    };
    auto expected = players(b);
    expected.erase(104);
    auto shown = players(mine);
    EXPECT_EQ(shown[200]["name"], "Stranger");
    shown.erase(200);
    EXPECT_EQ(shown, expected);

    // copy --match id: the ratings of every player with a partner; the others are listed.
    const std::string fresh = reversed.write(dir, "fresh.pak");
    auto broken = test::readFileBytes(b);
    broken[205] = 40; // slot 0: a face the window cannot show
    test::writeFileBytes(dir.file("broken.pak"), broken);
    runSteps(dir, fresh,
             {{{"copy", dir.file("broken.pak"), fresh, "--match", "id"}, 1, "slot 0: appearance"},
              {{"copy", b, fresh, "--match", "id", "--only", "ratings", "--dry-run"}, 0}});
    EXPECT_THAT(output(dir, {"copy", b, fresh, "--match", "id", "--only", "ratings"}),
                testing::AllOf(HasSubstr("slot 4: wrote"), HasSubstr("slot 0: no change"),
                               HasSubstr("slot 4 (Renamed): no match in " + fresh)));
    EXPECT_EQ(players(fresh)[101]["ratings"], expected[101]["ratings"]);

    writeText(dir.file("slots.json"), output(dir, {"diff", a, b, "--format", "patch"}, 1));
    ASSERT_EQ(cli(dir, {"apply", a, dir.file("slots.json")}).exitCode, 0);
    EXPECT_EQ(test::readFileBytes(a), test::readFileBytes(b));
    EXPECT_EQ(output(dir, {"diff", a, b, "--format", "patch"}), "[]\n");
    // A player in a slot that is empty in the other file cannot travel in a patch.
    auto added = test::readFileBytes(b);
    std::ranges::copy(stranger, added.begin() + 6 * SLOT_SIZE);
    test::writeFileBytes(b, added);
    // A face the editor cannot show and a byte no field covers have no value in a patch.
    const std::string odd = dir.file("odd.pak");
    auto oddBytes = test::readFileBytes(a);
    oddBytes[205] = 30;
    oddBytes[150] ^= 0xFF;
    test::writeFileBytes(odd, oddBytes);
    runSteps(dir, b,
             {{{"diff", a, b, "--format", "patch"},
               1,
               "slot 6 of " + b + " (ID 200): the slot is empty in " + a,
               "[]\n"},
              {{"diff", a, odd, "--format", "patch"},
               1,
               "slot 0 of " + odd +
                   ": appearance.face differs, but the editor cannot show its "
                   "value here; a patch cannot carry it",
               "[]\n"},
              {{"diff", a, odd, "--format", "patch"},
               1,
               "bytes no field covers differ (record offsets 150)",
               "[]\n"},
              // ... nor can a patch empty a slot where the other file has none.
              {{"diff", b, a, "--format", "patch", "--match", "slot"},
               1,
               "slot 6 of " + b + " (ID 200): the slot is empty in " + a +
                   "; a patch cannot remove a player",
               "[]\n"}});
    const auto before = test::readFileBytes(a);
    EXPECT_THAT(output(dir, {"copy", b, a, "--match", "slot"}),
                HasSubstr("slot 6 (Stranger): no match in " + a + ", skipped\n"));
    EXPECT_EQ(test::readFileBytes(a), before);

    // An ID that two players share names no one player: each matching by ID says so.
    auto shared = test::readFileBytes(a);
    std::copy_n(shared.begin() + 4 * SLOT_SIZE, 2, shared.begin() + 5 * SLOT_SIZE);
    const std::string dup = dir.file("dup.pak");
    test::writeFileBytes(dup, shared);
    const std::string held = "ID 104 is held by slots 4 and 5 of " + dup;
    EXPECT_THAT(cli(dir, {"diff", a, dup, "--format", "patch", "--match", "id"}).err,
                HasSubstr(held + ", so no one player has it"));
    EXPECT_THAT(output(dir, {"diff", a, dup, "--match", "id"}, 1), HasSubstr("unpaired: " + held));
    EXPECT_THAT(output(dir, {"copy", dup, a, "--match", "id", "--dry-run"}),
                HasSubstr(held + ", skipped"));
    EXPECT_THAT(cli(dir, {"apply", dup, dir.file("update.json"), "--match", "id"}).err,
                HasSubstr(held + "; nothing was written"));
}

TEST(Cli, ShowReportsFieldsItCannotShowAndKeepsTheRest) {
    const TempDir dir;
    const std::string path =
        RosterMaker().player(0, "Odd", 3).set(0, 205, {30}).set(0, 79, {99}).write(dir, "r.pak");
    const auto player = nlohmann::json::parse(output(dir, {"show", path, "0", "--format", "json"}));
    // Resiliance and Agillity are spelled as the window spells them.
    const auto shown = nlohmann::json::parse(R"({"nation": null, "appearance": {"face": null,
        "bat": null}, "roles": {"battingPosition": "Opener"}, "ratings": {"batting": {"Attack": 0,
        "OnSide": null, "Resiliance": null}, "fielding": {"Agillity": null}}, "statistics": {"One Day":
        {"innings": 0}, "Test": {"strikeRate": null}}})");
    const auto flat = shown.flatten(); // a JSON pointer to each value
    for (const auto& [pointer, value] : flat.items()) {
        EXPECT_EQ(player.value(nlohmann::json::json_pointer(pointer), nlohmann::json("absent")),
                  value)
            << pointer;
    }
    std::vector<std::string> fields;
    for (const auto& error : player["errors"]) {
        fields.push_back(error["field"]);
        EXPECT_EQ(error["message"], "Invalid property value");
    }
    EXPECT_EQ(fields,
              (std::vector<std::string>{"nation", "appearance.face", "ratings.batting.OnSide"}));
}

TEST(Cli, DumpAndApplyAreInverses) {
    const TempDir dir;
    RosterMaker maker;
    for (int slot = 0; slot < 40; ++slot) {
        maker.player(slot, slot == 7 ? "\"B\" O'Brien, J" : "Player" + std::to_string(slot),
                     static_cast<std::uint16_t>(1 << (slot % 14)));
        maker.set(slot, 104, {56});
    }
    // Names the window shows but a typed name may not have: 16 characters, a tab, a CR.
    maker.player(40, "SixteenCharsLong").set(40, 104, {56});
    maker.player(41, "Tab\tand\rCR").set(41, 104, {56});
    writeDemoFiles(dir.file("demo"));
    const std::string path = maker.write(dir, "r.pak");
    for (const std::string& file : {dir.file("demo/demo.pak"), dir.file("demo/demo.sav"), path}) {
        const auto before = test::readFileBytes(file);
        for (const std::string format : {"json", "csv", "xlsx"}) {
            for (const bool all : {true, false}) {
                // Named outside ASCII: on Windows every library opens it by its UTF-8 name.
                const std::string edits = dir.file("edits \u00fc\u03a9." + format);
                std::vector<std::string> dump = {"dump", file, "--format", format};
                if (all) {
                    dump.push_back("--all");
                }
                if (format == "xlsx") { // a workbook goes to a file named
                    dump.push_back(edits);
                    output(dir, dump);
                } else {
                    const std::string dumped = output(dir, dump);
                    // A byte order mark, so spreadsheets read the CSV as UTF-8.
                    EXPECT_EQ(dumped.starts_with("\xEF\xBB\xBF"), format == "csv");
                    std::ofstream(edits) << dumped;
                }
                const CliRun run = cli(dir, {"apply", file, edits});
                EXPECT_EQ(run.exitCode, 0) << run.err;
                EXPECT_THAT(run.out, testing::Not(HasSubstr("wrote")));
                EXPECT_EQ(test::readFileBytes(file), before) << file << format << all;
            }
        }
    }
    EXPECT_EQ(cli(dir, {"dump", path, "--format", "xlsx"}).exitCode, 2); // not to a terminal
    EXPECT_EQ(cli(dir, {"dump", path, "--format", "csv", dir.file("x.csv")}).exitCode, 2);
    EXPECT_EQ(Json::parse(output(dir, {"dump", path})).size(), 42u);
    EXPECT_EQ(Json::parse(output(dir, {"dump", path, "--all"})).size(), 1600u);
    // One cell edited in a spreadsheet writes only that field's bytes.
    std::string csv = slurp(dir.file("edits \u00fc\u03a9.csv"));
    const std::string row = "\r\n3,0,Player3,ENG,0,,0,";
    const auto at = csv.find(row);
    ASSERT_NE(at, std::string::npos);
    csv.replace(at, row.size(), "\r\n3,0,Player3,ENG,0,,4,");
    writeText(dir.file("one.csv"), csv);
    EXPECT_EQ(output(dir, {"apply", path, dir.file("one.csv")}),
              "slot 3: wrote 205\n42 slots matched, 1 changed\n");
    // Rows of slots changed since the dump would undo those changes: refused, naming every
    // slot, unless forced: all of them, or the chosen ones.
    ASSERT_EQ(
        cli(dir, {"bulk", path, "--where", "nation=ENG", "--set", "ratings.bowling.Accuracy+=5"})
            .exitCode,
        0);
    csv.replace(csv.find("\r\n3,0,Player3,ENG,0,,4,"), 23, "\r\n3,0,Player3,ENG,0,,5,");
    writeText(dir.file("two.csv"), csv);
    const std::string two = dir.file("two.csv");
    const std::string forced = dir.file("forced.pak");
    std::filesystem::copy_file(path, forced);
    runSteps(dir, path,
             {{{"apply", forced, two, "--force"}, 0},
              {{"apply", path, two},
               1,
               "slots 3 (Player3), 17 (Player17), 31 (Player31), 40 (SixteenCharsLong), 41 "
               "(Tab\tand\rCR) changed since the dump: dump again, or overwrite with "
               "--force-slots 3,17,31,40,41; nothing was written"},
              {{"apply", path, two, "--force-slots", "3,17,40,41"},
               1,
               ": slot 31 (Player31) changed since the dump: dump again, or overwrite with "
               "--force-slots 31;"},
              {{"apply", path, two, "--force-slots", "3,17,31,40,41"}, 0}});
    EXPECT_EQ(test::readFileBytes(forced), test::readFileBytes(path));
}

// What spreadsheets do to a dump is told, never written: a hash cell they damaged, a
// read-only cell edited, a name read in the wrong encoding; a file without hashes is
// applied with a word that its rows are not checked; every encoding and separator they
// save is read.
TEST(Cli, ApplyTellsWhatASpreadsheetDidToADump) {
    const TempDir dir;
    const std::string path =
        RosterMaker().player(0, "A M\xFCller").set(0, 104, {56}).write(dir, "r.pak");
    const std::string hash = Json::parse(output(dir, {"dump", path}))[0]["slotHash"];
    const auto file = [&dir](const std::string& name, const std::string& text) {
        writeText(dir.file(name), text);
        return dir.file(name);
    };
    std::string utf16 = "\xFF\xFE"; // as Excel saves "Unicode text"
    for (const char ch : std::string("slot\tid\r\n0\t0\r\n")) {
        utf16 += {ch, '\0'};
    }
    runSteps(dir, path,
             {{{"apply", path, file("damaged.csv", "slot,name,slotHash\r\n0,X,51656660264484\r\n")},
               1,
               "damaged.csv: row 2: column slotHash: \"51656660264484\" is not a slot hash: a "
               "spreadsheet changed the cell"},
              {{"apply", path, file("readonly.csv", "slot,statistics.Test.strikeRate\r\n0,50\r\n")},
               1,
               "readonly.csv: row 2: column statistics.Test.strikeRate: \"50\" is not what slot 0 "
               "shows (\"\"); statistics.Test.strikeRate is read-only"},
              {{"apply", path, file("garbled.csv", "slot,name,slotHash\r\n0,A MÃ¼ller," + hash)},
               1,
               "row 2: column name: \"A MÃ¼ller\" is \"A Müller\" read in the wrong encoding"},
              {{"apply", path, file("cp1252.csv", "slot;name;slotHash\r\n0;A M\xFCller;" + hash)},
               0,
               "cp1252.csv: read as Windows-1252 (it is not UTF-8 text)"},
              {{"apply", path, file("utf16.csv", utf16)}, 0, "utf16.csv: read as UTF-16 LE"},
              {{"apply", path, file("nohash.csv", "slot,name\r\n0,A Müller\r\n")},
               0,
               "nohash.csv has no slotHash column: rows of players changed in"},
              {{"apply", path, dir.file("damaged.csv"), "--force-slots", "0"},
               0,
               "",
               "slot 0: wrote 4 5 6 7 8 9 10 11\n1 slot matched, 1 changed\n"}});
}

TEST(Cli, ExportAndImport) {
    namespace fs = std::filesystem;
    const TempDir dir;
    const std::string path =
        RosterMaker().player(0, "Adams").player(1, "Brown").write(dir, "r.pak");
    const std::string data = dir.file("adams.data");
    const std::string notes = dir.file("notes.data"); // a name ending in "data" is asked about
    test::writeFileBytes(notes, {1, 2, 3});
    fs::permissions(notes, fs::perms(0640));
    test::writeFileBytes(dir.file("short.data"), std::vector<std::uint8_t>(347, 0));
    // Chosen names that are no regular file: no "fifo.data" or "folder.data" beside them.
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    fs::create_directory(dir.file("folder"));
    runSteps(
        dir, path,
        {{{"export", path, "0", dir.file("adams")}, 0, "", "Exported to " + data + "\n"},
         {{"export", path, "1", dir.file("adams")}, 1}, // not the name confirmed
         {{"import", path, "1", data}, 1},
         {{"import", path, "1", data, "--yes"}, 0, "", "Replaced Brown successfully\n"},
         {{"import", path, "5", data, "--yes"},
          1,
          "Duplicate ID: ID 0 is held by slot 0 (Adams) of " + path},
         {{"import", path, "1", dir.file("short.data"), "--yes"}, 1, "Wrong File Size"},
         {{"export", path, "0", dir.file("fifo"), "--yes"}, 1, "fifo: it is not a regular file"},
         {{"export", path, "0", dir.file("folder"), "--yes"}, 1, "(it is a folder)"}});
    EXPECT_FALSE(fs::exists(dir.file("fifo.data")) || fs::exists(dir.file("folder.data")));
    EXPECT_EQ(RosterFile(path).readSlot(1), RosterFile(path).readSlot(0));
    runSteps(dir, notes,
             {{{"export", path, "1", notes}, 1}, {{"export", path, "1", notes, "--yes"}, 0}});
    EXPECT_EQ(test::readFileBytes(notes).size(), 348u);
    // A replaced file keeps its mode, a new one gets 0666 less the umask.
    const mode_t umask = ::umask(0);
    ::umask(umask);
    EXPECT_EQ(fs::status(data).permissions(), fs::perms(0666 & ~umask));
    if (!test::programIsWindowsBuild()) { // Windows files have no mode bits to keep
        EXPECT_EQ(fs::status(notes).permissions(), fs::perms(0640));
    }
}

TEST(Cli, CheckFindsWhatWouldSurpriseAUser) {
    const TempDir dir;
    RosterMaker maker;
    maker.player(0, "Good").set(0, 0, {1, 0});
    maker.player(1, "TwoBits", 3).set(1, 0, {2, 0});
    maker.player(2, "OddFace").set(2, 205, {30}).set(2, 0, {3, 0});
    maker.player(4, "Hidden").set(4, 0, {1, 0}); // after the gap at 3, and Good's ID
    const std::string path = maker.write(dir, "r.pak");
    const std::string report = output(dir, {"check", path}, 1);
    for (const char* line :
         {"error: slot 1 (TwoBits): nation: the editor cannot show it (Invalid property value): "
          "the file holds 2 bits; repair sets it to AUS\n",
          "error: slot 2 (OddFace): appearance.face:",
          "warning: slot 4 (Hidden): name: named slot after the first empty slot (3)",
          "error: slot 4 (Hidden): id: ID 1 is also the ID of slot 0",
          "3 errors, 1 warning in 4 named slots"}) {
        EXPECT_THAT(report, HasSubstr(line));
    }
    const auto json = nlohmann::json::parse(output(dir, {"check", path, "--format", "json"}, 1));
    EXPECT_EQ(json["errors"], 3);
    EXPECT_EQ(json["findings"].size(), 4u);

    writeDemoFiles(dir.file("demo"));
    EXPECT_EQ(cli(dir, {"check", dir.file("demo/demo.sav")}).exitCode, 0);
    test::writeFileBytes(dir.file("short.pak"), std::vector<std::uint8_t>(1000, 0));
    EXPECT_THAT(output(dir, {"check", dir.file("short.pak")}, 1), HasSubstr("1000 bytes"));

    // A saved game whose name ends in upper-case "SAV" is read as a roster file: warned.
    const std::string upper = dir.file("GAME.SAV");
    std::filesystem::copy_file(dir.file("demo/demo.sav"), upper);
    const std::string warning = "warning: " + upper + ": file: " + upper + " is read as a roster";
    EXPECT_THAT(output(dir, {"check", upper}, 1), HasSubstr(warning));
    const std::string rename = "rename it to " + dir.file("GAME.sav");
    runSteps(dir, upper,
             {{{"set", upper, "0", "name=X", "--dry-run"}, 1, rename},
              {{"import", upper, "0", dir.file("none.data")}, 1, rename}});

    // A saved game under a name that does not end in "sav" is never written as a roster
    // file; --kind says what it is.
    const std::string bak = dir.file("career.sav.bak");
    std::filesystem::copy_file(dir.file("demo/demo.sav"), bak);
    ASSERT_EQ(cli(dir, {"export", dir.file("demo/demo.sav"), "7", dir.file("p7.data")}).exitCode,
              0);
    const std::string size = "has the size of a saved game (556932 bytes); nothing was written";
    runSteps(dir, bak,
             {{{"import", bak, "3", dir.file("p7.data"), "--yes"}, 1, size},
              {{"set", bak, "0", "name=Y"}, 1, size + ". Say which it is with --kind sav"},
              {{"set", bak, "3", "ratings.bowling.Accuracy=9", "--kind", "sav"}, 0},
              {{"set", bak, "3", "name=X", "--kind", "bin"}, 2, "--kind"}});
    EXPECT_EQ(Json::parse(output(dir, {"show", bak, "3", "--kind", "sav", "--format",
                                       "json"}))["ratings"]["bowling"]["Accuracy"],
              9);
}

TEST(Cli, DiffNamesFieldsAndUncoveredBytes) {
    const TempDir dir;
    writeDemoFiles(dir.file("demo"));
    const std::string a = dir.file("demo/demo.pak");
    ASSERT_EQ(cli(dir, {"set", a, "3", "nation=ENG"}).exitCode, 0);
    std::filesystem::copy_file(a, dir.file("b.pak"));
    const std::string b = dir.file("b.pak");
    EXPECT_EQ(output(dir, {"diff", a, b}), "");
    ASSERT_EQ(cli(dir, {"set", b, "3", "name=Renamed", "nation=ZIM", "roles.bowlingStyle=Chinaman"})
                  .exitCode,
              0);
    ASSERT_EQ(cli(dir, {"set", b, "40", "statistics.One Day.innings=99"}).exitCode, 0);
    auto bytes = test::readFileBytes(b);
    bytes[static_cast<std::size_t>(40 * 348 + 150)] ^= 0xFF; // a byte no field covers
    test::writeFileBytes(b, bytes);
    const auto json = Json::parse(output(dir, {"diff", a, b, "--format", "json"}, 1));
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(json[0]["nameB"], "Renamed");
    std::vector<std::string> fields;
    for (const auto& f : json[0]["fields"]) {
        fields.push_back(f["field"]);
    }
    EXPECT_EQ(fields, (std::vector<std::string>{"name", "nation", "roles.bowlingStyle"}));
    EXPECT_EQ(json[0]["uncoveredBytes"], nlohmann::json::array()); // ZIM is byte 217
    EXPECT_EQ(json[1]["fields"][0]["field"], "statistics.One Day.innings");
    EXPECT_EQ(json[1]["uncoveredBytes"], nlohmann::json::array({150}));
    // The text says each change from A's value to B's.
    const std::string text = output(dir, {"diff", a, b}, 1);
    for (const auto& entry : json) {
        for (const auto& f : entry["fields"]) {
            EXPECT_THAT(text, HasSubstr("  " + f["field"].get<std::string>() + ": " +
                                        valueText(f["a"]) + " -> " + valueText(f["b"]) + "\n"));
        }
    }
}

TEST(Cli, BulkRaisesClampsAndRefusesAsAWhole) {
    const TempDir dir;
    RosterMaker maker;
    maker.player(0, "Eng1").player(1, "Aus1", 1).player(2, "Eng2");
    maker.set(0, 92, {0, 0xF0, 0x03}); // Accuracy (bits 12-17 of group 92) 63
    maker.set(2, 92, {0, 0x00, 0x01}); // Accuracy 16
    for (int slot = 0; slot < 3; ++slot) {
        maker.set(slot, 104, {56});
    }
    const std::string path = maker.write(dir, "r.pak");
    const std::string raise = "ratings.bowling.Accuracy+=5";
    output(dir, {"set", path, "2", "skills.Slogger=true", "--no-backup"});
    const auto dryRunWhere = [&](const std::string& filter) {
        return std::vector<std::string>{"bulk",  path,  "--where",  filter,
                                        "--set", raise, "--dry-run"};
    };
    const std::string onlySlot2 =
        "slot 2: would change ratings.bowling.Accuracy 16 -> 21\n1 slot matched, 1 would change\n";
    runSteps(dir, path,
             {{dryRunWhere("skills.Slogger=1"), 0, "", onlySlot2},
              {dryRunWhere("skills.Slogger=true"), 0, "", onlySlot2},
              {dryRunWhere("ratings.bowling.Accuracy=16"), 0, "", onlySlot2},
              {dryRunWhere("skills.Slogger=0"), 0, "",
               "slot 1: would change ratings.bowling.Accuracy 0 -> 5\n2 slots matched, 1 would "
               "change\n"},
              {{"bulk", path, "--where", "colour=red", "--set", raise}, 2},
              {{"bulk", path, "--set", "roles.bowlingStyle+=1"}, 2},
              {{"bulk", path, "--set", "ratings.bowling.Accuracy+=x"}, 2},
              {{"bulk", path, "--set", "nope=1"}, 2},
              {{"bulk", path, "--set", "name="}, 1, "--yes"}, // it would empty every slot
              {{"bulk", path, "--where", "nation=ENG", "--set", raise, "--dry-run"},
               0,
               "",
               "slot 2: would change ratings.bowling.Accuracy 16 -> 21\n2 slots matched, 1 would "
               "change\n"},
              {{"bulk", path, "--where", "nation=ENG", "--set", raise},
               0,
               "",
               "slot 2: wrote 93\n2 slots matched, 1 changed\n"}});
    const auto player = nlohmann::json::parse(output(dir, {"show", path, "2", "--format", "json"}));
    EXPECT_EQ(player["ratings"]["bowling"]["Accuracy"], 21);
}

TEST(Cli, PicturesAsTheReaderAndTheFaceDisplayMakeThem) {
    const TempDir dir;
    // A 3 x 2 true-colour TGA, bottom row first.
    std::vector<std::uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0, 24, 0};
    for (std::uint8_t i = 1; i <= 18; ++i) {
        tga.push_back(i);
    }
    test::writeFileBytes(dir.file("a.tga"), tga);
    EXPECT_EQ(output(dir, {"tga", dir.file("a.tga")}),
              "width 3 height 2 bpp 24 compressed no tga yes\n");
    output(dir, {"tga", dir.file("a.tga"), dir.file("a.bmp")});
    const auto bmp = test::readFileBytes(dir.file("a.bmp"));
    ASSERT_EQ(bmp.size(), 14u + 40u + 24u);
    // Pixels at 54, height 2 (bottom row first), 32 bits.
    EXPECT_EQ((std::array{bmp[10], bmp[22], bmp[28]}), (std::array<std::uint8_t, 3>{54, 2, 32}));
    EXPECT_EQ(std::vector<std::uint8_t>(bmp.begin() + 54, bmp.begin() + 62),
              (std::vector<std::uint8_t>{1, 2, 3, 0, 4, 5, 6, 0}));

    tga[16] = 15; // a depth the reader has no decoder for
    test::writeFileBytes(dir.file("b.tga"), tga);
    writeDemoGameFolder(dir.file("game"));
    std::filesystem::create_directories(dir.file("broken/data"));
    test::writeFileBytes(dir.file("broken/data/cricket_pc.gob"), std::vector<std::uint8_t>(99));
    runSteps(dir, dir.file("b.tga"), // a failed picture leaves an existing OUT as it was
             {{{"tga", dir.file("b.tga")}, 0, "", "width 3 height 2 bpp 15 compressed no tga no\n"},
              {{"tga", dir.file("b.tga"), dir.file("b.bmp")}, 1},
              {{"tga", dir.file("none.tga")}, 1},
              {{"face", dir.file("game"), "24", dir.file("f.bmp")}, 0},
              {{"face", dir.path().string(), "0", dir.file("b.tga")}, 1, "cricket_pc.gob"},
              {{"face", dir.file("broken"), "0", dir.file("b.tga")}, 1}});
    EXPECT_EQ(test::readFileBytes(dir.file("f.bmp")).size(), 66614u);
}

} // namespace
} // namespace qb
