#include "saving/transfer.h"
#include "support/roster_maker.h"
#include "system/errors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qb {
namespace {

using test::RosterMaker;
using test::TempDir;

TEST(Export, SuffixRuleAndOverwriteQuestion) {
    const TempDir dir;
    struct Row {
        std::string chosen;
        std::string path;
    };
    const Row rows[] = {
        {dir.file("player"), dir.file("player.data")},
        {dir.file("player.data"), dir.file("player.data")},
        {dir.file("player.DATA"), dir.file("player.DATA.data")},
        {"  " + dir.file("spaced") + "  ", dir.file("spaced.data")},
        {dir.file("mydata"), dir.file("mydata")},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(planExport(row.chosen).path, row.path);
        EXPECT_FALSE(planExport(row.chosen).needsOverwriteQuestion);
    }
    test::writeFileBytes(dir.file("taken.data"), {1, 2, 3});
    EXPECT_TRUE(planExport(dir.file("taken")).needsOverwriteQuestion);
    EXPECT_FALSE(planExport(dir.file("taken.data")).needsOverwriteQuestion); // the dialog asked
}

// Export replaces an earlier file whole and importing it back changes nothing; an import
// keeps the ID of an occupied slot and brings its own into an empty one.
TEST(Transfer, ExportAndImportMoveWholeRecordsAndKeepOccupiedIds) {
    const TempDir dir;
    Record smith = test::playerRecord("Smith");
    for (std::size_t i = 20; i < smith.size(); ++i) {
        smith[i] = static_cast<std::uint8_t>(i * 7);
    }
    smith[0] = 0x34;
    smith[1] = 0x12;
    const std::string path =
        RosterMaker().record(7, smith).player(0, "Old").set(0, 0, {0x01, 0x02}).write(dir, "r.sav");
    const RosterFile roster(path);
    test::writeFileBytes(dir.file("smith.data"), std::vector<std::uint8_t>(1000, 9));
    exportSlot(roster, 7, dir.file("smith.data"));
    EXPECT_EQ(test::readFileBytes(dir.file("smith.data")),
              std::vector<std::uint8_t>(smith.begin(), smith.end()));
    EXPECT_THROW(exportSlot(roster, 7, dir.file("no-such-folder/x.data")), FileError);
    const auto before = test::readFileBytes(path);
    EXPECT_TRUE(importSlot(roster, 7, dir.file("smith.data")).empty());
    EXPECT_EQ(test::readFileBytes(path), before);

    Record incoming = smith;
    incoming[0] = 0x39;
    incoming[1] = 0x05;
    test::writeFileBytes(dir.file("new.data"), {incoming.begin(), incoming.end()});
    importSlot(RosterFile(path), 0, dir.file("new.data"));
    importSlot(RosterFile(path), 5, dir.file("new.data")); // its ID is not taken
    Record kept = incoming;
    kept[0] = 0x01;
    kept[1] = 0x02;
    EXPECT_EQ(RosterFile(path).readSlot(0), kept);
    EXPECT_EQ(RosterFile(path).readSlot(5), incoming);
}

TEST(Transfer, RefusalsWriteNothing) {
    const TempDir dir;
    // Players whose IDs the roster holds already: in slots 1 and 1500, and in the last.
    Record incoming = test::playerRecord("Dup");
    for (const auto& [name, high] : {std::pair{"dup.data", 0x11}, std::pair{"last.data", 0x44}}) {
        incoming[0] = 0x22;
        incoming[1] = static_cast<std::uint8_t>(high);
        test::writeFileBytes(dir.file(name), {incoming.begin(), incoming.end()});
    }
    struct Row {
        const char* name;
        int size; // the file written, or -1: a player written above
        int slot;
        const char* message;
    };
    const Row rows[] = {
        {"small.data", 347, 0, "Wrong File Size"},
        {"large.data", 349, 0, "Wrong File Size"},
        {"dup.data", -1, 3, "Duplicate ID: ID 4386 is held by slot 1 (B) of "},
        {"dup.data", -1, 1500, "Duplicate ID: ID 4386 is held by slot 1 (B) of "},
        {"last.data", -1, 3, "Duplicate ID: ID 17442 is held by slot 1599 (Z) of "},
    };
    RosterMaker maker;
    maker.player(0, "A").player(1, "B").set(1, 0, {0x22, 0x11}).set(1500, 0, {0x22, 0x11});
    maker.player(1599, "Z").set(1599, 0, {0x22, 0x44});
    const std::string path = maker.write(dir, "r.pak");
    const auto before = test::readFileBytes(path);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.size >= 0) {
            test::writeFileBytes(dir.file(row.name),
                                 std::vector<std::uint8_t>(static_cast<std::size_t>(row.size), 1));
        }
        EXPECT_THAT([&] { importSlot(RosterFile(path), row.slot, dir.file(row.name)); },
                    testing::Throws<TransferError>(testing::AllOf(
                        testing::Property(&std::exception::what, testing::StartsWith(row.message)),
                        testing::ResultOf([](const TransferError& e) { return e.path(); },
                                          row.size < 0 ? path : dir.file(row.name)))));
        EXPECT_EQ(test::readFileBytes(path), before);
    }
    EXPECT_THROW(importSlot(RosterFile(path), 0, dir.file("missing.data")), FileError);
}

} // namespace
} // namespace qb
