// Edits files as spreadsheets save them: every encoding and separator Excel and
// LibreOffice write is read to the same edits, and text that cannot be read right is
// refused at its row and column, never guessed.
#include "player/csv.h"
#include "player/dump_check.h"
#include "player/edits_file.h"
#include "roster/codepage.h"
#include "system/fnv1a.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qb {
namespace {

using testing::HasSubstr;

// UTF-8 text (ASCII and Latin-1 letters) as UTF-16 with its byte order mark.
std::string utf16(const std::string& utf8, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char32_t ch : utf8ToChars(utf8)) {
        const char high = static_cast<char>(ch >> 8);
        const char low = static_cast<char>(ch & 0xFF);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

// The value the file gives slot 0's `key`, or "" when it gives none.
std::string valueOf(const EditsFile& file, const std::string& key) {
    for (const FieldEdit& edit : file.players.at(0)) {
        if (edit.field->key == key) {
            return edit.value;
        }
    }
    return "";
}

TEST(EditsFile, ReadsEveryEncodingAndSeparatorAndRefusesTextItCannotRead) {
    const std::string header = "slot,name,statistics.Test.battingAverage\r\n";
    struct Case {
        std::string label;
        std::string bytes;
        std::string error = ""; // a piece of the refusal; none when read
        TextEncoding encoding = TextEncoding::Utf8;
        std::string average = "";
    };
    const std::vector<Case> cases = {
        {"UTF-8", header + "0,A Müller,\r\n"},
        {"UTF-8, marked", "\xEF\xBB\xBF" + header + "0,A Müller,12.5\n", "", TextEncoding::Utf8,
         "12.5"},
        {"UTF-16 LE, tabs", utf16("slot\tname\r\n0\tA Müller\r\n", false), "",
         TextEncoding::Utf16LittleEndian},
        {"UTF-16 BE, semicolons", utf16("slot;name\r\n0;A Müller\r\n", true), "",
         TextEncoding::Utf16BigEndian},
        {"Windows-1252, semicolons, decimal comma",
         "slot;name;statistics.Test.battingAverage\r\n"
         "0;A M\xFCller;\"12,5\"\r\n",
         "", TextEncoding::Windows1252, "12.5"},
        {"overlong slash", header + "0,A\xC0\xAF,\r\n", "row 2: column name: the byte 0xC0"},
        {"UTF-8 beside a stray byte", header + "0,A Müller \xFC,\r\n", "row 2: column name"},
        {"marked UTF-8 with a Windows-1252 byte", "\xEF\xBB\xBF" + header + "0,A M\xFCller,\r\n",
         "row 2: column name: the byte 0xFC at character 4 is not valid UTF-8"},
        {"unassigned Windows-1252 byte", header + "0,A\x81,\r\n",
         "row 2: column name: the byte 0x81"},
        {"text after a closing quote", header + "0,\"Abc\"def,\r\n",
         "row 2: column name: text after the closing quote"},
        {"quote left open", header + "0,\"Abc,\r\n", "is not closed"},
        {"half a UTF-16 unit", utf16("slot,name\r\n0,A\r\n", false) + "A", "breaks off at byte 34"},
        {"lone surrogate", utf16("slot,name\r\n0,", false) + std::string("\x00\xD8", 2),
         "breaks off at byte 28"},
        {"UTF-8 mark read as Windows-1252", "\xC3\xAF\xC2\xBB\xC2\xBF" + header + "0,A,\r\n",
         "row 1: column 1 starts with \"\xC3\xAF\xC2\xBB\xC2\xBF\", the mark of a UTF-8 file read "
         "as "
         "Windows-1252"},
        {"decimal comma in a comma file", header + "0,X,\"12,5\"\r\n", "Invalid value \"12,5\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (!c.error.empty()) {
            try {
                const EditsFile file = readEditsFile(c.bytes, "e.csv");
                const FieldEdit& edit = file.players.at(0).back();
                EXPECT_THAT(edit.refusal, HasSubstr(c.error));
            } catch (const QuillbayError& error) {
                EXPECT_THAT(error.what(), testing::AllOf(HasSubstr("e.csv: "), HasSubstr(c.error)));
            }
            continue;
        }
        const EditsFile file = readEditsFile(c.bytes, "e.csv");
        EXPECT_EQ(valueOf(file, "name"), "A Müller");
        EXPECT_EQ(valueOf(file, "statistics.Test.battingAverage"), c.average);
        EXPECT_EQ(file.notes.empty(), c.encoding == TextEncoding::Utf8);
        EXPECT_EQ(readCsv(c.bytes, "e.csv").encoding, c.encoding);
        EXPECT_FALSE(file.hasHashColumn);
    }
}

// A UTF-8 name that a spreadsheet read as Windows-1252 fits the code page in every
// character, so it would be written garbled: refused, saying what it was meant to be.
TEST(EditsFile, RefusesNamesReadInTheWrongEncoding) {
    const std::vector<std::pair<std::string, std::string>> garbled = {
        {"A MÃ¼ller", "A Müller"}, {"Dâ€™Souza", "D’Souza"}, {"RenÃ©", "René"}};
    for (const auto& [name, meant] : garbled) {
        const EditsFile file = readEditsFile("slot,name\n0," + name + "\n", "e.csv");
        EXPECT_THAT(file.players.at(0).front().refusal,
                    HasSubstr("\"" + name + "\" is \"" + meant +
                              "\" read in the wrong encoding: the spreadsheet opened the UTF-8 "
                              "file as Windows-1252"));
    }
    for (const std::string name : {"A Müller", "Ãlvaro", "D'Souza"}) {
        const EditsFile file = readEditsFile("slot,name\n0," + name + "\n", "e.csv");
        EXPECT_EQ(file.players.at(0).front().refusal, "") << name;
    }
}

// The hash form survives spreadsheets; the bare hex of older dumps is still read, and
// what spreadsheets made of it is told from a hash.
TEST(SlotHash, IsReadInBothFormsAndTellsADamagedCell) {
    Record record{};
    record[7] = 0x41;
    const std::string hash = slotHash(record);
    ASSERT_EQ(hash.size(), 18u);
    EXPECT_EQ(hash.substr(0, 2), "qb");
    EXPECT_EQ(readSlotHash(hash), fnv1a(record));
    EXPECT_EQ(readSlotHash(hash.substr(2)), fnv1a(record));
    EXPECT_EQ(readSlotHash("QB0051656660264484"), 0x0051656660264484u);
    for (const std::string damaged :
         {"51656660264484", "1.79769313486232E+308", "8.2002224E+19", "qb005165666026448",
          "qb-051656660264484", "+051656660264484", "0x51656660264484", ""}) {
        EXPECT_EQ(readSlotHash(damaged), std::nullopt) << damaged;
    }
}

} // namespace
} // namespace qb
