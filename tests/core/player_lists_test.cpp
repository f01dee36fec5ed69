#include "roster/codepage.h"
#include "roster/player_lists.h"
#include "support/roster_maker.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using test::RosterMaker;
using test::TempDir;

// A roster written and read back: its slot table and the two lists viewing into it.
struct Lists {
    explicit Lists(const RosterMaker& maker, const char* name = "r.pak")
        : table(RosterFile(maker.write(TempDir(), name)).readSlotTable()),
          index(buildRosterIndex(table)) {}
    std::string name(std::size_t slot) const { return index.slotEntries[slot].name(); }
    SlotTable table;
    RosterIndex index;
};

TEST(PlayerLists, LeadingRunEndsAtTheFirstEmptySlot) {
    RosterMaker maker;
    for (int slot = 0; slot < 10; ++slot) {
        maker.player(slot, "Player" + std::to_string(slot));
    }
    maker.player(11, "Hidden");
    maker.set(10, 0, {0x12, 0x34}).set(10, 216, {8}); // empty name, other bytes set
    const Lists lists(maker);
    EXPECT_EQ(lists.index.playerCount, 10u);
    ASSERT_EQ(lists.index.slotEntries.size(), 1600u);
    EXPECT_EQ(lists.name(10), "");
    EXPECT_EQ(lists.name(11), "Hidden");
}

TEST(PlayerLists, SixteenByteNamesAndCodePage) {
    RosterMaker maker;
    maker.player(0, "ABCDEFGHIJKLMNOP").player(1, "Andr\xE9");
    const Lists lists(maker);
    EXPECT_EQ(lists.name(0), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(lists.name(1), "Andr\xC3\xA9");
    // Bytes 0x80-0x9F as Windows-1252 maps them; the five it leaves unassigned keep their number.
    constexpr char32_t kHighBytes[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (std::uint8_t byte = 0x80; byte <= 0x9F; ++byte) {
        const char32_t ch = kHighBytes[byte - 0x80];
        EXPECT_EQ(utf8ToChars(decodeCp1252(std::span(&byte, 1))), std::u32string(1, ch)) << +byte;
        EXPECT_EQ(encodeCp1252(ch), byte) << +byte;
    }
}

TEST(PlayerLists, NationIconsComeFromSingleNationBits) {
    struct Row {
        std::uint16_t nation;
        int icon;
    };
    const Row rows[] = {{1, 1}, {8, 4}, {8192, 14}, {0, 0}, {3, 0}, {16384, 0}, {0x8000, 0}};
    RosterMaker maker;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        maker.player(static_cast<int>(i), "P", rows[i].nation);
    }
    const Lists lists(maker);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(lists.index.slotEntries[i].nationIcon, rows[i].icon) << rows[i].nation;
    }
}

TEST(PlayerLists, Searches) {
    RosterMaker maker;
    maker.player(0, "Jones")
        .player(1, "Smith")
        .player(2, "smithers")
        .player(4, "Zed")
        .player(6, "Andr\xE9")
        .player(9, "\xF7"); // division sign
    const Lists lists(maker);
    const RosterIndex& index = lists.index;
    EXPECT_EQ(findPlayerWithPrefix(index, "smi"), 1);
    EXPECT_EQ(findPlayerWithPrefix(index, "SMITHE"), 2);
    EXPECT_EQ(findPlayerWithPrefix(index, "x"), -1);
    EXPECT_EQ(findPlayerWithPrefix(index, ""), 0);
    EXPECT_EQ(findPlayerWithPrefix(index, "ze"), -1); // after the player list's end
    EXPECT_EQ(findSlotWithPrefix(index, "ze"), 4);
    EXPECT_EQ(findSlotWithPrefix(index, "ANDR\xC3\x89"), 6); // accented capital folds too
    EXPECT_EQ(findSlotWithPrefix(index, ""), -1);
    EXPECT_EQ(findSlotWithPrefix(index, "q"), -1);
    EXPECT_EQ(findSlotWithPrefix(index, "\xC3\x97"), -1); // the multiplication sign has no case
    EXPECT_EQ(nextEmptySlot(index, -1), 3);
    EXPECT_EQ(nextEmptySlot(index, 3), 5);
    EXPECT_EQ(nextEmptySlot(index, 5), 7);
    EXPECT_EQ(nextEmptySlot(index, 7), 8); // the very next slot
    EXPECT_EQ(nextEmptySlot(index, 1599), -1);
}

} // namespace
} // namespace qb
