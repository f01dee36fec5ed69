// Workbooks: what the writer makes reads back as the same edits, and the reader takes
// the cells both spreadsheets write (shared and inline strings, booleans, formulas by
// their cached values) and refuses, naming the cell, what holds no value.
#include "player/edits_file.h"
#include "player/workbook_reader.h"
#include "player/workbook_writer.h"
#include "support/roster_maker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <minizip/zip.h>

namespace qb {
namespace {

using testing::HasSubstr;

// A workbook of these parts, zipped with minizip as a spreadsheet zips one.
std::string zipped(const std::vector<std::pair<std::string, std::string>>& parts,
                   const test::TempDir& dir) {
    const std::string path = dir.file("made.xlsx");
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    for (const auto& [name, text] : parts) {
        zipOpenNewFileInZip64(zip, name.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr,
                              Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0);
        zipWriteInFileInZip(zip, text.data(), static_cast<unsigned>(text.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    const auto bytes = test::readFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

// A workbook whose one sheet, named "Players", has these rows (the XML of <sheetData>).
std::string workbook(const std::string& sheetData, const test::TempDir& dir) {
    return zipped(
        {{"xl/workbook.xml",
          R"(<workbook xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
          R"(<sheets><sheet name="Players" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
         {"xl/_rels/workbook.xml.rels",
          R"(<Relationships><Relationship Id="rId1" Target="worksheets/sheet1.xml" )"
          R"(Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet"/>)"
          R"(<Relationship Id="rId2" Target="/xl/sharedStrings.xml" )"
          R"(Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings"/>)"
          R"(</Relationships>)"},
         {"xl/sharedStrings.xml",
          R"(<sst><si><t>slot</t></si><si><t>name</t></si><si><r><t>A </t></r><r><t>Müller</t></r>)"
          R"(<rPh><t>ignored</t></rPh></si></sst>)"},
         {"xl/worksheets/sheet1.xml",
          "<worksheet><sheetData>" + sheetData + "</sheetData></worksheet>"}},
        dir);
}

// The header: titles in row 1, then keys in row 2 (slot, name, a flag, a rating).
const std::string kHeader =
    R"(<row r="1"><c r="A1" t="inlineStr"><is><t>Slot</t></is></c></row>)"
    R"(<row r="2"><c r="A2" t="s"><v>0</v></c><c r="B2" t="s"><v>1</v></c>)"
    R"(<c r="C2" t="inlineStr"><is><t>skills.One Day Expert</t></is></c>)"
    R"(<c r="D2" t="str"><f>"ratings.bowling."&amp;"Accuracy"</f><v>ratings.bowling.Accuracy</v></c></row>)";

TEST(Workbook, ReadsTheCellsSpreadsheetsWriteAndRefusesWhatHoldsNoValue) {
    const test::TempDir dir;
    struct Case {
        std::string label;
        std::string row; // the XML of row 3
        std::string error = "";
        std::vector<std::string> values = {}; // name, flag and rating as read
    };
    const std::vector<Case> cases = {
        {"typed cells",
         R"(<row r="3"><c r="A3"><v>0</v></c><c r="B3" t="s"><v>2</v></c>)"
         R"(<c r="C3" t="b"><v>1</v></c><c r="D3"><v>45</v></c></row>)",
         "",
         {"A Müller", "true", "45"}},
        {"a formula's cached value, cells left out",
         R"(<row r="3"><c r="A3"><v>0</v></c>)"
         R"(<c r="D3"><f>40+5</f><v>45.0000000000000</v></c></row>)",
         "",
         {"45"}},
        {"an error value",
         R"(<row r="3"><c r="A3"><v>0</v></c><c r="D3" t="e"><v>#N/A</v></c></row>)",
         "w.xlsx: Players!D3 holds the error #N/A"},
        {"a formula without its value",
         R"(<row r="3"><c r="A3"><v>0</v></c><c r="D3"><f>1+1</f></c></row>)",
         "w.xlsx: Players!D3 holds a formula without its value"},
        {"a value past the validation",
         R"(<row r="3"><c r="A3"><v>0</v></c><c r="D3"><v>70</v></c></row>)",
         "w.xlsx: Players!D3: column ratings.bowling.Accuracy: Invalid value \"70\""},
        {"a shared string that is not there",
         R"(<row r="3"><c r="A3"><v>0</v></c><c r="B3" t="s"><v>9</v></c></row>)",
         "w.xlsx: Players!B3 names no shared string"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        try {
            const EditsFile file = readEditsFile(workbook(kHeader + c.row, dir), "w.xlsx");
            std::vector<std::string> values;
            for (const FieldEdit& edit : file.players.at(0)) {
                values.push_back(edit.value);
                EXPECT_THAT(edit.refusal, HasSubstr(c.error));
            }
            if (c.error.empty()) {
                EXPECT_EQ(values, c.values);
            }
        } catch (const QuillbayError& error) {
            EXPECT_THAT(error.what(), HasSubstr(c.error));
            EXPECT_FALSE(c.error.empty()) << error.what();
        }
    }
    for (const auto& [bytes, error] : std::vector<std::pair<std::string, std::string>>{
             {"slot,name\n0,X\n", "w.xlsx is not an XLSX workbook (not a zip archive)"},
             {zipped({{"xl/workbook.xml", "<workbook>"}}, dir),
              "w.xlsx: xl/workbook.xml is not well-formed XML"},
             {workbook("<row><c><v>1</v></c></row>", dir),
              "w.xlsx: no sheet has a \"slot\" or \"id\" column"}}) {
        EXPECT_THAT([&] { readEditsFile(bytes, "w.xlsx"); },
                    testing::ThrowsMessage<QuillbayError>(HasSubstr(error)));
    }
}

} // namespace
} // namespace qb
