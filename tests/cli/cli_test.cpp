#include "codecs/demo_roster.h"
#include "images/demo_game.h"
#include "roster/roster_file.h"
#include "support/roster_maker.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

namespace qb {
namespace {

using test::RosterMaker;
using test::TempDir;

struct CliRun {
    int exitCode;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char ch : text) {
        out += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    }
    return out + "'";
}

std::string slurp(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs quillbay-cli with no terminal on its input; a run that hangs is ended.
CliRun cli(const TempDir& dir, const std::vector<std::string>& args) {
    std::string command = "timeout 30 " + quoted(QB_CLI_PATH);
    for (const std::string& arg : args) {
        command += " " + quoted(arg);
    }
    command += " </dev/null >" + quoted(dir.file("out.txt")) + " 2>" + quoted(dir.file("err.txt"));
    const int status = std::system(command.c_str());
    return {WEXITSTATUS(status), slurp(dir.file("out.txt")), slurp(dir.file("err.txt"))};
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
    if (path.ends_with(".csv") || path.ends_with(".json")) {
        test::saveSeed("edits", {text.begin(), text.end()});
    }
}

TEST(Cli, ListsTheLeadingRunOrAllSlots) {
    const TempDir dir;
    const std::string path = RosterMaker()
                                 .player(0, "Adams")
                                 .player(1, "Smith, Jr", 3)
                                 .player(3, "Hidden")
                                 .write(dir, "r.pak");
    const CliRun text = cli(dir, {"list", path});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("   0      0  ENG     Adams"), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("Hidden"), std::string::npos);

    const auto json =
        nlohmann::json::parse(cli(dir, {"list", path, "--all", "--format", "json"}).out);
    ASSERT_EQ(json.size(), 1600u);
    EXPECT_EQ(json[1]["nation"], nullptr);
    EXPECT_EQ(json[3]["name"], "Hidden");

    const CliRun csv = cli(dir, {"list", path, "--format", "csv"});
    EXPECT_EQ(csv.out, "slot,id,name,nation\r\n0,0,Adams,ENG\r\n1,0,\"Smith, Jr\",\r\n");
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
    const auto before = test::readFileBytes(path);
    const CliRun refused = cli(dir, {"set", path, "1", "ratings.bowling.Accuracy=5"});
    EXPECT_EQ(refused.exitCode, 1);
    const CliRun dry = cli(dir, {"repair", path, "--dry-run"});
    EXPECT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_EQ(dry.out, "slot 1: nation: 2 bits -> BAN\nslot 1: commentary: 2000 -> 1015\n"
                       "slot 1: wrote 2 3 216\n");
    EXPECT_EQ(test::readFileBytes(path), before);
    EXPECT_EQ(cli(dir, {"repair", path, "00", "01", "--no-backup"}).out,
              "slot 0: no change\n" + dry.out);
    EXPECT_EQ(cli(dir, {"set", path, "1", "commentary=1016"}).exitCode, 2);
    EXPECT_EQ(cli(dir, {"set", path, "1", "ratings.bowling.Accuracy=5"}).exitCode, 0);
    EXPECT_EQ(cli(dir, {"repair", path, "5"}).exitCode, 1); // an empty slot
}

TEST(Cli, SetWritesWhatTheWindowWouldAndRefusesBadInput) {
    const TempDir dir;
    Record r = test::playerRecord("Smith");
    r[108] = 0x01;
    r[104] = 56;
    RosterMaker maker;
    maker.record(0, r).player(1, "Broken").set(1, 205, {40});
    maker.player(2, "Stray").set(2, 106, {0x10, 8}); // a stray bit hides style Moderate
    maker.record(10, r);
    const std::string path = maker.write(dir, "r.pak");
    const auto before = test::readFileBytes(path);

    CliRun run = cli(dir, {"set", path, "0", "roles.bowlingStyle=Chinaman", "--dry-run"});
    EXPECT_EQ(run.out, "slot 0: wrote 108 109\n");
    EXPECT_EQ(test::readFileBytes(path), before);

    struct Refusal {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const Refusal refusals[] = {
        {{"set", path, "0", "roles.bowlingStyle=Googly"}, 2, "roles.bowlingStyle"},
        {{"set", path, "0", "nope=1"}, 2, "unknown key \"nope\""},
        {{"set", path, "0", "id=5"}, 2, "read-only"},
        {{"set", path, "0", "ratings.bowling.Accuracy=64"}, 2, "0 to 63"},
        {{"set", path, "0", "name=ABCDEFGHIJKLMNOP"}, 2, "at most 15"},
        {{"set", path, "0", "name=Snow\xE2\x98\x83"}, 2, "Windows-1252"},
        {{"set", path, "0", "statistics.Test.highestScore=700"}, 2, "0 to 639"},
        {{"set", path, "0", "statistics.Test.innings=."}, 2, "\".\" for statistics.Test.innings"},
        {{"set", path, "0", "statistics.Test.innings=99999999999999999999"}, 2, "0 to "},
        {{"set", path, "0", "name=Tab\tName"}, 2, "control characters"},
        {{"set", path, "0", "name=Line\nBreak"}, 2, "control characters"},
        {{"set", path, "0", "name= "}, 1, "slot 0: name: an empty name empties the slot"},
        {{"set", path, "2", "roles.battingStyle=Defensive"},
         1,
         "roles.battingStyle: the value asked, \"Defensive\", would not be kept: it would show "
         "as \"Moderate\""},
        {{"set", path, "1", "name=Fixed"}, 1, "appearance.face: Invalid property value"},
        {{"set", path, "1600", "name=X"}, 2, "1599"},
        {{"set", path, "4294967296", "name=X"}, 2, "1599"},
        {{"set", path, "0599", "name=X"}, 1, "slot 599: nation"}, // decimal, not octal
        {{"set", dir.file("missing.pak"), "0", "name=X"}, 1, "missing.pak"},
    };
    for (const Refusal& refusal : refusals) {
        run = cli(dir, refusal.args);
        EXPECT_EQ(run.exitCode, refusal.exitCode) << refusal.message << run.err;
        EXPECT_NE(run.err.find(refusal.message), std::string::npos) << run.err;
        EXPECT_EQ(test::readFileBytes(path), before);
    }

    run = cli(dir, {"set", path, "0", "roles.bowlingStyle=Chinaman"});
    EXPECT_EQ(run.out, "slot 0: wrote 108 109\n");
    EXPECT_NE(test::readFileBytes(path), before);
    EXPECT_EQ(cli(dir, {"set", path, "0", "roles.bowlingStyle=Chinaman"}).out,
              "slot 0: no change\n");
    // Slots are decimal: 0010 is slot 10, not octal 8.
    EXPECT_EQ(cli(dir, {"set", path, "0010", "roles.bowlingStyle=Chinaman"}).out,
              "slot 10: wrote 108 109\n");
    EXPECT_EQ(cli(dir, {"set", path, "0", "name=", "--yes"}).out, "slot 0: wrote 4 5 6 7 8\n");
}

TEST(Cli, ShowReportsFieldsItCannotShowAndKeepsTheRest) {
    const TempDir dir;
    const std::string path =
        RosterMaker().player(0, "Odd", 3).set(0, 205, {30}).set(0, 79, {99}).write(dir, "r.pak");
    const auto player =
        nlohmann::json::parse(cli(dir, {"show", path, "0", "--format", "json"}).out);
    EXPECT_EQ(player["nation"], nullptr);
    EXPECT_EQ(player["appearance"]["face"], nullptr);
    EXPECT_EQ(player["appearance"]["bat"], nullptr);
    EXPECT_EQ(player["roles"]["battingPosition"], "Opener");
    EXPECT_EQ(player["ratings"]["batting"]["Attack"], 0);
    EXPECT_EQ(player["ratings"]["batting"]["OnSide"], nullptr);
    EXPECT_TRUE(player["ratings"]["batting"].contains("Resiliance")); // as the window spells it
    EXPECT_TRUE(player["ratings"]["fielding"].contains("Agillity"));
    EXPECT_EQ(player["statistics"]["One Day"]["innings"], 0);
    EXPECT_EQ(player["statistics"]["Test"]["strikeRate"], nullptr);
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
        maker.player(slot, slot == 7 ? "O'Brien, \"Bo\"" : "Player" + std::to_string(slot),
                     static_cast<std::uint16_t>(1 << (slot % 14)));
        maker.set(slot, 104, {56});
    }
    // Names the window shows but a typed name may not have: 16 characters, a tab.
    maker.player(40, "SixteenCharsLong").set(40, 104, {56});
    maker.player(41, "Tab\tName").set(41, 104, {56});
    writeDemoFiles(dir.file("demo"));
    const std::string path = maker.write(dir, "r.pak");
    for (const std::string& file : {dir.file("demo/demo.pak"), dir.file("demo/demo.sav"), path}) {
        const auto before = test::readFileBytes(file);
        for (const std::string format : {"json", "csv"}) {
            for (const bool all : {true, false}) {
                std::vector<std::string> dump = {"dump", file, "--format", format};
                if (all) {
                    dump.push_back("--all");
                }
                const std::string edits = dir.file("edits." + format);
                // CSV as spreadsheets save "CSV UTF-8", with a byte-order mark.
                const std::string text =
                    (format == "csv" ? "\xEF\xBB\xBF" : "") + cli(dir, dump).out;
                if (all || file != path) {
                    std::ofstream(edits) << text; // hundreds of players: too large a seed
                } else {
                    writeText(edits, text);
                }
                const CliRun run = cli(dir, {"apply", file, edits});
                EXPECT_EQ(run.exitCode, 0) << run.err;
                EXPECT_EQ(run.out.find("wrote"), std::string::npos) << run.out;
                EXPECT_EQ(test::readFileBytes(file), before) << file << format << all;
            }
        }
    }
    // One cell edited in a spreadsheet writes only that field's bytes.
    std::string csv = slurp(dir.file("edits.csv"));
    const std::string row = "\r\n3,0,Player3,ENG,0,,0,";
    const auto at = csv.find(row);
    ASSERT_NE(at, std::string::npos);
    csv.replace(at, row.size(), "\r\n3,0,Player3,ENG,0,,4,");
    writeText(dir.file("one.csv"), csv);
    const CliRun run = cli(dir, {"apply", path, dir.file("one.csv")});
    EXPECT_NE(run.out.find("slot 3: wrote 205\n"), std::string::npos) << run.out;
}

TEST(Cli, ApplyRefusesAWholeFileBeforeWriting) {
    const TempDir dir;
    const std::string path = RosterMaker().player(0, "A").player(1, "B").write(dir, "r.pak");
    const auto before = test::readFileBytes(path);
    struct Row {
        const char* name;
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {"a.csv", "slot,name\r\n0,Changed\r\n1,\"bad", "not closed"},
        {"b.csv", "slot,name,colour\r\n0,Changed,red\r\n", "unknown column \"colour\""},
        {"c.csv", "slot,ratings.bowling.Accuracy\r\n0,20\r\n1,99\r\n",
         "row 3: column ratings.bowling.Accuracy"},
        {"d.json",
         R"([{"slot": 0, "name": "Changed"}, {"slot": 1, "roles": {"battingHand": "Both"}}])",
         "entry 1"},
        {"e.json",
         R"([{"slot": 0, "name": "Changed"}, {"slot": 1, "statistics": {"Test": {"fifties": 300}}}])",
         "entry 1: Invalid value \"300\" for statistics.Test.fifties"},
        {"f.json", R"({"slot": 0})", "not a JSON array"},
        {"g.json", R"([{"slot": 4294967296, "name": "Hacked"}])", "entry 0: needs \"slot\""},
        {"h.json", R"([{"slot": -1, "name": "Hacked"}])", "entry 0: needs \"slot\""},
        {"i.json", R"([{"slot": 1.5, "name": "Hacked"}])", "entry 0: needs \"slot\""},
        {"j.json", R"([{"slot": "1", "name": "Hacked"}])", "entry 0: needs \"slot\""},
        {"k.json", R"([{"slot": 0, "name": ["X"]}])", "name takes a single value, not an array"},
        {"l.json", R"([{"slot": 0, "name": {"a": "X"}}])", "not an object"},
        {"m.json", R"([{"slot": 0, "name": "Changed"}, {"slot": 1, "name": ""}])",
         "slot 1: name: an empty name"},
    };
    std::string deep = R"([{"slot": 1, "a": )";
    for (int depth = 0; depth < 30000; ++depth) {
        deep += R"({"a": )";
    }
    std::ofstream(dir.file("deep.json")) << deep;
    EXPECT_NE(cli(dir, {"apply", path, dir.file("deep.json")}).err.find("nested deeper"),
              std::string::npos);
    for (const Row& row : rows) {
        writeText(dir.file(row.name), row.text);
        const CliRun run = cli(dir, {"apply", path, dir.file(row.name)});
        EXPECT_EQ(run.exitCode, 1) << row.name;
        EXPECT_NE(run.err.find(row.message), std::string::npos) << row.name << ": " << run.err;
        EXPECT_EQ(test::readFileBytes(path), before) << row.name;
    }
}

TEST(Cli, ExportAndImport) {
    const TempDir dir;
    const std::string path =
        RosterMaker().player(0, "Adams").player(1, "Brown").write(dir, "r.pak");
    const Record adams = RosterFile(path).readSlot(0);
    CliRun run = cli(dir, {"export", path, "0", dir.file("adams")});
    EXPECT_EQ(run.out, "Exported to " + dir.file("adams.data") + "\n");
    run = cli(dir, {"export", path, "1", dir.file("adams")});
    EXPECT_EQ(run.exitCode, 1) << "the .data name was not the one confirmed";
    const auto before = test::readFileBytes(path);
    run = cli(dir, {"import", path, "1", dir.file("adams.data")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(test::readFileBytes(path), before);
    run = cli(dir, {"import", path, "1", dir.file("adams.data"), "--yes"});
    EXPECT_EQ(run.out, "Replaced Brown successfully\n");
    EXPECT_EQ(RosterFile(path).readSlot(1), adams);
    run = cli(dir, {"import", path, "5", dir.file("adams.data"), "--yes"});
    EXPECT_NE(run.err.find("Duplicate ID: ID 0 is held by slot 0 (Adams) of " + path),
              std::string::npos)
        << run.err;

    // A name ending in "data" is asked about too; a replaced file keeps its mode, a new
    // one gets 0666 less the umask.
    const mode_t umask = ::umask(0);
    ::umask(umask);
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::status(dir.file("adams.data")).permissions(), fs::perms(0666 & ~umask));
    test::writeFileBytes(dir.file("notes.data"), {1, 2, 3});
    fs::permissions(dir.file("notes.data"), fs::perms(0640));
    EXPECT_EQ(cli(dir, {"export", path, "1", dir.file("notes.data")}).exitCode, 1);
    EXPECT_EQ(test::readFileBytes(dir.file("notes.data")).size(), 3u);
    EXPECT_EQ(cli(dir, {"export", path, "1", dir.file("notes.data"), "--yes"}).exitCode, 0);
    EXPECT_EQ(test::readFileBytes(dir.file("notes.data")).size(), 348u);
    EXPECT_EQ(fs::status(dir.file("notes.data")).permissions(), fs::perms(0640));
    test::writeFileBytes(dir.file("short.data"), std::vector<std::uint8_t>(347, 0));
    run = cli(dir, {"import", path, "1", dir.file("short.data"), "--yes"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Wrong File Size"), std::string::npos);
}

TEST(Cli, CheckFindsWhatWouldSurpriseAUser) {
    const TempDir dir;
    RosterMaker maker;
    maker.player(0, "Good").set(0, 0, {1, 0});
    maker.player(1, "TwoBits", 3).set(1, 0, {2, 0});
    maker.player(2, "OddFace").set(2, 205, {30}).set(2, 0, {3, 0});
    maker.player(4, "Hidden").set(4, 0, {1, 0}); // after the gap at 3, and Good's ID
    const std::string path = maker.write(dir, "r.pak");
    CliRun run = cli(dir, {"check", path});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("error: slot 1 (TwoBits): nation:"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("error: slot 2 (OddFace): appearance.face:"), std::string::npos);
    EXPECT_NE(
        run.out.find("warning: slot 4 (Hidden): name: named slot after the first empty slot (3)"),
        std::string::npos);
    EXPECT_NE(run.out.find("error: slot 4 (Hidden): id: ID 1 is also the ID of slot 0"),
              std::string::npos);
    EXPECT_NE(run.out.find("3 errors, 1 warning in 4 named slots"), std::string::npos);
    const auto json = nlohmann::json::parse(cli(dir, {"check", path, "--format", "json"}).out);
    EXPECT_EQ(json["errors"], 3);
    EXPECT_EQ(json["findings"].size(), 4u);

    writeDemoFiles(dir.file("demo"));
    EXPECT_EQ(cli(dir, {"check", dir.file("demo/demo.sav")}).exitCode, 0);
    test::writeFileBytes(dir.file("short.pak"), std::vector<std::uint8_t>(1000, 0));
    run = cli(dir, {"check", dir.file("short.pak")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("1000 bytes"), std::string::npos);

    // A saved game whose name ends in upper-case "SAV" is read as a roster file: warned.
    const std::string upper = dir.file("GAME.SAV");
    std::filesystem::copy_file(dir.file("demo/demo.sav"), upper);
    const std::string warning = "warning: " + upper + ": file: " + upper + " is read as a roster";
    EXPECT_NE(cli(dir, {"check", upper}).out.find(warning), std::string::npos);
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"set", upper, "0", "name=X", "--dry-run"},
                                               {"import", upper, "0", dir.file("none.data")}}) {
        EXPECT_NE(cli(dir, args).err.find("rename it to " + dir.file("GAME.sav")),
                  std::string::npos);
    }
}

TEST(Cli, DiffNamesFieldsAndUncoveredBytes) {
    const TempDir dir;
    writeDemoFiles(dir.file("demo"));
    const std::string a = dir.file("demo/demo.pak");
    std::filesystem::copy_file(a, dir.file("b.pak"));
    const std::string b = dir.file("b.pak");
    EXPECT_EQ(cli(dir, {"diff", a, b}).out, "");
    EXPECT_EQ(cli(dir, {"diff", a, b}).exitCode, 0);
    ASSERT_EQ(cli(dir, {"set", b, "3", "name=Renamed", "roles.bowlingStyle=Chinaman"}).exitCode, 0);
    ASSERT_EQ(cli(dir, {"set", b, "40", "statistics.One Day.innings=99"}).exitCode, 0);
    auto bytes = test::readFileBytes(b);
    bytes[static_cast<std::size_t>(40 * 348 + 150)] ^= 0xFF; // a byte no field covers
    test::writeFileBytes(b, bytes);
    const CliRun run = cli(dir, {"diff", a, b, "--format", "json"});
    EXPECT_EQ(run.exitCode, 1);
    const auto json = nlohmann::json::parse(run.out);
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(json[0]["nameB"], "Renamed");
    std::vector<std::string> fields;
    for (const auto& f : json[0]["fields"]) {
        fields.push_back(f["field"]);
    }
    EXPECT_EQ(fields, (std::vector<std::string>{"name", "roles.bowlingStyle"}));
    EXPECT_EQ(json[1]["fields"][0]["field"], "statistics.One Day.innings");
    EXPECT_EQ(json[1]["uncoveredBytes"], nlohmann::json::array({150}));
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
    const auto before = test::readFileBytes(path);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"bulk", path, "--where", "colour=red", "--set", "ratings.bowling.Accuracy+=5"},
             {"bulk", path, "--set", "roles.bowlingStyle+=1"},
             {"bulk", path, "--set", "ratings.bowling.Accuracy+=x"},
             {"bulk", path, "--set", "nope=1"}}) {
        EXPECT_EQ(cli(dir, args).exitCode, 2);
        EXPECT_EQ(test::readFileBytes(path), before);
    }
    // Emptying every name would empty every slot: only with --yes.
    EXPECT_NE(cli(dir, {"bulk", path, "--set", "name="}).err.find("--yes"), std::string::npos);
    EXPECT_EQ(test::readFileBytes(path), before);
    const CliRun run =
        cli(dir, {"bulk", path, "--where", "nation=ENG", "--set", "ratings.bowling.Accuracy+=5"});
    EXPECT_EQ(run.out, "slot 0: no change\nslot 2: wrote 93\n2 slots matched, 1 changed\n")
        << run.err;
    const auto player =
        nlohmann::json::parse(cli(dir, {"show", path, "2", "--format", "json"}).out);
    EXPECT_EQ(player["ratings"]["bowling"]["Accuracy"], 21);
}

TEST(Cli, BadInputIsRefusedNamingTheFile) {
    const TempDir dir;
    const std::string path = RosterMaker().player(0, "A").player(1, "B").write(dir, "r.pak");
    const auto before = test::readFileBytes(path);
    writeText(dir.file("dup.csv"), "slot,name\r\n0,X\r\n0,Y\r\n");
    writeText(dir.file("dup.json"), R"([{"slot": 1, "name": "X"}, {"slot": 1, "name": "Y"}])");
    writeText(dir.file("objects.json"), R"([1, 2])");
    for (const char* fifo : {"fifo.pak", "fifo.json", "fifo.data", "fifo.tga"}) {
        ASSERT_EQ(::mkfifo(dir.file(fifo).c_str(), 0600), 0);
    }
    struct Row {
        std::vector<std::string> args;
        const char* message;
    };
    const Row rows[] = {
        {{"list", dir.path().string()}, "not a regular file"},
        {{"show", dir.file("none.pak"), "0"}, "none.pak"},
        {{"apply", path, dir.file("dup.csv")}, "appears more than once"},
        {{"apply", path, dir.file("dup.json")}, "appears more than once"},
        {{"apply", path, dir.file("objects.json")}, "needs \"slot\""},
        {{"apply", path, dir.file("missing.csv")}, "missing.csv"},
        {{"list", dir.file("fifo.pak")}, "fifo.pak for reading: it is not a regular file"},
        {{"apply", path, dir.file("fifo.json")}, "fifo.json for reading: it is not a regular"},
        {{"import", path, "1", dir.file("fifo.data"), "--yes"}, "fifo.data for reading: it is"},
        {{"tga", dir.file("fifo.tga")}, "fifo.tga: it is not a regular file (it is a FIFO)"},
    };
    for (const Row& row : rows) {
        const CliRun run = cli(dir, row.args);
        EXPECT_EQ(run.exitCode, 1) << row.message;
        EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
        EXPECT_EQ(test::readFileBytes(path), before);
    }
    EXPECT_EQ(cli(dir, {"show", path, "x"}).exitCode, 2);
}

TEST(Cli, PicturesAsTheReaderAndTheFaceDisplayMakeThem) {
    const TempDir dir;
    // A 3 x 2 true-colour TGA, bottom row first.
    std::vector<std::uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0, 24, 0};
    for (std::uint8_t i = 1; i <= 18; ++i) {
        tga.push_back(i);
    }
    test::writeFileBytes(dir.file("a.tga"), tga);
    CliRun run = cli(dir, {"tga", dir.file("a.tga")});
    EXPECT_EQ(run.out, "width 3 height 2 bpp 24 compressed no tga yes\n");
    run = cli(dir, {"tga", dir.file("a.tga"), dir.file("a.bmp")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const auto bmp = test::readFileBytes(dir.file("a.bmp"));
    ASSERT_EQ(bmp.size(), 14u + 40u + 24u);
    EXPECT_EQ(bmp[10], 54);
    EXPECT_EQ(bmp[22], 2); // height 2: bottom row first
    EXPECT_EQ(bmp[28], 32);
    EXPECT_EQ(std::vector<std::uint8_t>(bmp.begin() + 54, bmp.begin() + 62),
              (std::vector<std::uint8_t>{1, 2, 3, 0, 4, 5, 6, 0}));

    tga[16] = 15; // a depth the reader has no decoder for
    test::writeFileBytes(dir.file("b.tga"), tga);
    EXPECT_EQ(cli(dir, {"tga", dir.file("b.tga")}).out,
              "width 3 height 2 bpp 15 compressed no tga no\n");
    EXPECT_EQ(cli(dir, {"tga", dir.file("b.tga"), dir.file("b.bmp")}).exitCode, 1);
    EXPECT_EQ(cli(dir, {"tga", dir.file("none.tga")}).exitCode, 1);

    writeDemoGameFolder(dir.file("game"));
    run = cli(dir, {"face", dir.file("game"), "24", dir.file("f.bmp")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(test::readFileBytes(dir.file("f.bmp")).size(), 66614u);
    run = cli(dir, {"face", dir.path().string(), "0", dir.file("g.bmp")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cricket_pc.gob"), std::string::npos);
    // A broken archive leaves an existing OUT as it was.
    std::filesystem::create_directories(dir.file("broken/data"));
    test::writeFileBytes(dir.file("broken/data/cricket_pc.gob"), std::vector<std::uint8_t>(99));
    run = cli(dir, {"face", dir.file("broken"), "0", dir.file("b.tga")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(test::readFileBytes(dir.file("b.tga")), tga);
}

} // namespace
} // namespace qb
