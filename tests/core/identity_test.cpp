#include "codecs/codec_errors.h"
#include "codecs/identity.h"
#include "codecs/tables.h"
#include "support/error_matchers.h"
#include "support/roster_maker.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using testing::Throws;

Record appearance(std::uint8_t face, std::uint8_t body, std::uint8_t hair, std::uint8_t style,
                  std::uint8_t facial, std::uint8_t bat) {
    return test::recordWith(
        {{205, face}, {206, body}, {207, hair}, {208, style}, {209, facial}, {210, bat}});
}

TEST(Identity, AppearanceShownAndStoredBack) {
    struct Row {
        Record record;
        std::array<int, 6> shown; // face, body, hair colour, hair style, facial hair, bat
        std::array<int, 6> stored;
    };
    const Row rows[] = {
        {appearance(24, 11, 8, 12, 5, 33), {24, 11, 3, 12, 5, 33}, {24, 11, 8, 12, 5, 33}},
        {appearance(0, 12, 3, 0, 0, 0), {0, 1, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0}},
        {appearance(3, 200, 9, 4, 2, 7), {3, 1, 0, 4, 2, 7}, {3, 1, 0, 4, 2, 7}},
        {appearance(1, 2, 2, 3, 4, 5), {1, 2, 2, 3, 4, 5}, {1, 2, 2, 3, 4, 5}},
    };
    for (const Row& row : rows) {
        PlayerSheet s;
        ShowAppearance(row.record, s);
        EXPECT_EQ((std::array<int, 6>{s.face, s.bodyType, s.hairColour, s.hairStyle, s.facialHair,
                                      s.bat}),
                  row.shown);
        Record r{};
        StoreAppearance(s, r);
        for (std::size_t i = 0; i < 6; ++i) {
            EXPECT_EQ(r[205 + i], row.stored[i]) << i;
        }
    }
}

TEST(Identity, AppearanceFailuresNameTheFieldAndStopTheStep) {
    struct Row {
        Record record;
        const char* field;
    };
    const Row rows[] = {{appearance(25, 0, 0, 0, 0, 0), "appearance.face"},
                        {appearance(0, 0, 0, 13, 0, 0), "appearance.hairStyle"},
                        {appearance(0, 0, 0, 0, 6, 0), "appearance.facialHair"},
                        {appearance(0, 0, 0, 0, 0, 34), "appearance.bat"}};
    for (const Row& row : rows) {
        PlayerSheet s;
        s.bat = 9;
        EXPECT_THAT([&] { ShowAppearance(row.record, s); },
                    Throws<ShowError>(test::InField(row.field)));
        EXPECT_EQ(s.bat, 9); // the last list keeps the previous player's entry
    }
}

TEST(Identity, NationAndCommentary) {
    Record r{};
    r[217] = 0x20;
    r[2] = 0x2C;
    r[3] = 0x01;
    PlayerSheet s;
    ShowNation(r, s);
    EXPECT_EQ(kNationCodes[static_cast<std::size_t>(s.nation)], "ZIM");
    ShowCommentary(r, s, 1015);
    EXPECT_EQ(s.commentary, "300");
    EXPECT_EQ(s.commentaryEntry, 299);

    Record stored{};
    StoreNation(s, stored);
    StoreCommentary(s, stored, kCommentaryNameCount);
    EXPECT_EQ(stored[216], 0x00);
    EXPECT_EQ(stored[217], 0x20);
    EXPECT_EQ(stored[2], 0x2C);
    EXPECT_EQ(stored[3], 0x01);

    PlayerSheet zero;
    ShowCommentary(Record{}, zero, 1015);
    EXPECT_EQ(zero.commentary, "0");
    EXPECT_EQ(zero.commentaryEntry, -1);
    PlayerSheet past;
    EXPECT_THROW(ShowCommentary(r, past, 299), ShowError);
    EXPECT_EQ(past.commentary, "300");

    Record twoBits{};
    twoBits[216] = 3;
    EXPECT_THROW(ShowNation(twoBits, s), ShowError);
}

TEST(Identity, CommentaryBoxRefusesNumbersThatCannotShowBack) {
    for (const char* text : {"", "12345", "1.5", "-1", " 12", "abc", "1016"}) {
        PlayerSheet s;
        s.commentary = text;
        Record r{};
        EXPECT_THAT(
            [&] { StoreCommentary(s, r, kCommentaryNameCount); },
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

TEST(Identity, NameStoredTrimmedIntoOffsets4To18OrRefused) {
    struct Row {
        const char* name;
        const char* bytes; // offsets 4-19 after the store; nullptr: refused, nothing changed
    };
    const Row rows[] = {
        {"  Andr\xC3\xA9  ", "Andr\xE9\0\0\0\0\0\0\0\0\0\0P"},
        {"Snow\xE2\x98\x83man", nullptr},         // a snowman has no single-byte code
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP"}, // 16 characters: the last is byte 19's
        {"ABCDEFGHIJKLMNOQ", nullptr},
        {"\xE2\x82\xAC\xC5\xB8", "\x80\x9F\0\0\0\0\0\0\0\0\0\0\0\0\0P"},
    };
    for (const Row& row : rows) {
        Record r{};
        for (int i = 4; i < 19; ++i) {
            r[static_cast<std::size_t>(i)] = 'x';
        }
        r[19] = 'P';
        const Record before = r;
        PlayerSheet s;
        s.name = row.name;
        if (row.bytes == nullptr) {
            EXPECT_THROW(StoreName(s, r), StoreError) << row.name;
            EXPECT_EQ(r, before);
            continue;
        }
        StoreName(s, r);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[4]), 16), std::string(row.bytes, 16))
            << row.name;
    }
}

} // namespace
} // namespace qb
