#include "codecs/codec_errors.h"
#include "codecs/identity.h"
#include "codecs/tables.h"
#include "support/error_matchers.h"
#include "support/roster_maker.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using testing::Throws;

// Bytes 205-210: face, body, hair colour, hair style, facial hair, bat.
Record appearance(const std::array<int, 6>& bytes) {
    Record r{};
    std::copy(bytes.begin(), bytes.end(), r.begin() + 205);
    return r;
}

TEST(Identity, AppearanceShownAndStoredBackOrRefusedNamingTheField) {
    struct Row {
        std::array<int, 6> bytes;
        std::array<int, 6> shown; // and stored back; empty: refused
        const char* field = "";
    };
    const Row rows[] = {
        {{24, 11, 8, 12, 5, 33}, {24, 11, 3, 12, 5, 33}},
        {{0, 12, 3, 0, 0, 0}, {0, 1, 0, 0, 0, 0}},
        {{3, 200, 9, 4, 2, 7}, {3, 1, 0, 4, 2, 7}},
        {{1, 2, 2, 3, 4, 5}, {1, 2, 2, 3, 4, 5}},
        {{25, 0, 0, 0, 0, 0}, {}, "appearance.face"},
        {{0, 0, 0, 13, 0, 0}, {}, "appearance.hairStyle"},
        {{0, 0, 0, 0, 6, 0}, {}, "appearance.facialHair"},
        {{0, 0, 0, 0, 0, 34}, {}, "appearance.bat"},
    };
    for (const Row& row : rows) {
        PlayerSheet s;
        s.bat = 9;
        if (*row.field != '\0') {
            EXPECT_THAT([&] { showAppearance(appearance(row.bytes), s); },
                        Throws<ShowError>(test::InField(row.field)));
            EXPECT_EQ(s.bat, 9); // the last list keeps the previous player's entry
            continue;
        }
        showAppearance(appearance(row.bytes), s);
        const std::array<int, 6> shown = {s.face,      s.bodyType,   s.hairColour,
                                          s.hairStyle, s.facialHair, s.bat};
        EXPECT_EQ(shown, row.shown);
        Record r{};
        storeAppearance(s, r);
        Record expected = appearance(row.shown);
        expected[207] = row.bytes[2] == 8 ? 8 : expected[207]; // 8 shows as 3 but is kept
        EXPECT_EQ(r, expected);
    }
}

// Commentary 0 selects no entry; a number past the list shows its text, then fails.
TEST(Identity, NationAndCommentary) {
    const Record r = test::recordWith({{217, 0x20}, {2, 0x2C}, {3, 0x01}});
    PlayerSheet s;
    showNation(r, s);
    showCommentary(r, s, 1015);
    EXPECT_EQ(std::tuple(kNationCodes[static_cast<std::size_t>(s.nation)], s.commentary,
                         s.commentaryEntry),
              std::tuple("ZIM", "300", 299));
    Record stored = test::recordWith({{216, 0xFF}});
    storeNation(s, stored);
    storeCommentary(s, stored, kCommentaryNameCount);
    EXPECT_EQ(stored, r);
    showCommentary(Record{}, s, 1015);
    EXPECT_EQ(s.commentaryEntry, -1);
    PlayerSheet past;
    EXPECT_THROW(showCommentary(r, past, 299), ShowError);
    EXPECT_EQ(past.commentary, "300");
}

TEST(Identity, CommentaryBoxRefusesNumbersThatCannotShowBack) {
    for (const char* text : {"", "12345", "1.5", "-1", " 12", "abc", "1016"}) {
        PlayerSheet s;
        s.commentary = text;
        Record r{};
        EXPECT_THAT(
            [&] { storeCommentary(s, r, kCommentaryNameCount); },
            Throws<StoreError>(testing::AllOf(
                test::InField("commentary"),
                test::Says(std::string_view(text) == "1016"
                               ? "The commentary number must be from 0 to 1015, the entries of "
                                 "the commentary list"
                               : "The commentary number must be a whole number of at most four "
                                 "digits"))))
            << text;
        EXPECT_EQ(r, Record{});
    }
}

} // namespace
} // namespace qb
