#include "codecs/codec_errors.h"
#include "codecs/player_editor.h"
#include "codecs/tables.h"
#include "player/player_save.h"
#include "support/record_generator.h"
#include "support/roster_maker.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using test::RosterMaker;
using test::TempDir;

constexpr int kCommentaryCount = 1015;

// A typed name is stored trimmed, in Windows-1252, over bytes 4-18; byte 19 is never
// written, so a sixteenth character must be the one it holds. A name the game cannot hold
// is refused and nothing is written.
TEST(PlayerEditor, NameEdits) {
    struct Row {
        const char* stored;
        const char* typed;
        std::optional<std::vector<int>> written; // nullopt: refused
        const char* shown = "";
    };
    const std::vector<int> all = {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    const Row rows[] = {
        {"Smith", "Smyth", {{6}}, "Smyth"},
        {"Richardson", "Rich", {{8, 9, 10, 11, 12, 13}}, "Rich"},
        {"Jones", "  Jones  ", {{}}, "Jones"},
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP", {{}}, "ABCDEFGHIJKLMNOP"},
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNO", {{}}, "ABCDEFGHIJKLMNOP"},
        {"Jones", "   ", {{4, 5, 6, 7, 8}}, ""}, // an empty name empties the slot
        {"Andre", "  Andr\xC3\xA9  ", {{8}}, "Andr\xC3\xA9"},
        {"Jones", "\xE2\x82\xAC\xC5\xB8", {{4, 5, 6, 7, 8}}, "\xE2\x82\xAC\xC5\xB8"},
        {"xxxxxxxxxxxxxxxP", "ABCDEFGHIJKLMNOP", all, "ABCDEFGHIJKLMNOP"},
        {"xxxxxxxxxxxxxxxP", "ABCDEFGHIJKLMNOQ", std::nullopt},
        {"Jones", "Snow\xE2\x98\x83man", std::nullopt}, // a snowman has no single-byte code
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        const TempDir dir;
        const std::string path = RosterMaker().player(0, row.stored).write(dir, "r.pak");
        const RosterFile roster(path);
        PlayerEditor editor(kCommentaryCount);
        editor.load(roster, 0, roster.readSlot(0));
        savePlayer(editor, roster); // normalising first save
        editor.sheet().name = row.typed;
        if (!row.written) {
            const auto before = test::readFileBytes(path);
            EXPECT_THROW(savePlayer(editor, roster), StoreError);
            EXPECT_EQ(test::readFileBytes(path), before);
            continue;
        }
        EXPECT_EQ(savePlayer(editor, roster).written, *row.written);
        EXPECT_EQ(editor.sheet().name, row.shown);
        EXPECT_EQ(recordName(roster.readSlot(0).data()), row.shown);
        const std::string stored = row.stored;
        EXPECT_EQ(editor.loaded()[19],
                  stored.size() == 16 ? stored[15] : 0); // the 16th byte survives
    }
}

TEST(PlayerEditor, StoreFailuresWriteNothing) {
    const TempDir dir;
    const std::string path = RosterMaker().player(0, "Jones").write(dir, "r.pak");
    const RosterFile roster(path);
    const auto before = test::readFileBytes(path);
    const std::array<void (*)(PlayerSheet&), 6> breakers = {
        [](PlayerSheet& s) { s.name = "Tab\tName"; }, // the window's save refuses it
        [](PlayerSheet& s) { s.name = "Del\x7F"; },
        [](PlayerSheet& s) { s.commentary = "12345"; },
        [](PlayerSheet& s) { s.highestScore = "99999"; },
        [](PlayerSheet& s) { s.bowlingRatings[3] = 64; },
        [](PlayerSheet& s) { s.face = -1; },
    };
    for (const auto breaker : breakers) {
        PlayerEditor editor(kCommentaryCount);
        editor.load(roster, 0, roster.readSlot(0));
        editor.sheet().name = "Changed";
        breaker(editor.sheet());
        EXPECT_THROW(savePlayer(editor, roster), StoreError);
        EXPECT_EQ(test::readFileBytes(path), before);
    }
}

// The bits a first save may rewrite in a record whose fields are all in range: name bytes
// after the first NUL, and spare bits the stores write as 0 or recompute.
Record normalisedBits(const Record& r) {
    Record mask{};
    const int spare[] = {90,   0x03, 103,  0xC0, 104,  0x3F, 106,  0x70, 107,
                         0xE6, 109,  0x42, 193,  0xE0, 118,  0x03, 129,  0x03};
    for (std::size_t i = 0; i < std::size(spare); i += 2) {
        mask[static_cast<std::size_t>(spare[i])] = static_cast<std::uint8_t>(spare[i + 1]);
    }
    for (auto at = r.begin() + OFFSET_NAME + 1; at < r.begin() + OFFSET_NAME + NAME_MAX_CHARS;
         ++at) {
        if (std::find(r.begin() + OFFSET_NAME, at, 0) != at) {
            mask[static_cast<std::size_t>(at - r.begin())] = 0xFF;
        }
    }
    return mask;
}

void expectSavesNormaliseOnlyTheirBits(const RosterFile& roster, int slot, const Record& mask) {
    // 3,200 saves: not flushed to the disk one by one, which only the safety tests need.
    SafetyOptions quick;
    quick.durable = false;
    PlayerEditor editor(kCommentaryCount);
    editor.load(roster, slot, roster.readSlot(slot));
    const Record before = editor.loaded();
    savePlayer(editor, roster, quick);
    const Record after = roster.readSlot(slot);
    for (std::size_t i = 0; i < before.size(); ++i) {
        ASSERT_EQ((before[i] ^ after[i]) & ~mask[i], 0) << "slot " << slot << " offset " << i;
    }
    ASSERT_TRUE(savePlayer(editor, roster, quick).written.empty()) << "slot " << slot;
}

TEST(PlayerEditor, LoadThenSaveChangesOnlyNormalisedBitsOverGeneratedRosters) {
    const TempDir dir;
    test::RecordGenerator generator(7);
    RosterMaker maker;
    std::vector<Record> records;
    std::vector<std::uint8_t> firstSlots;
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        records.push_back(generator.player());
        maker.record(slot, records.back());
        if (slot < 40) {
            test::saveSeed("record", {records.back().begin(), records.back().end()});
            firstSlots.insert(firstSlots.end(), records.back().begin(), records.back().end());
        }
    }
    test::saveSeed("roster", firstSlots);
    for (const char* name : {"gen.pak", "gen.sav"}) {
        const RosterFile roster(maker.write(dir, name));
        for (int slot = 0; slot < SLOT_COUNT; ++slot) {
            expectSavesNormaliseOnlyTheirBits(
                roster, slot, normalisedBits(records[static_cast<std::size_t>(slot)]));
        }
    }
}

} // namespace
} // namespace qb
