#include "codecs/statistics.h"

#include "codecs/codec_errors.h"
#include "codecs/tables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

namespace qb {
namespace {

using enum Figure;

// ---- The regular block: 14 bytes a format from offset 20 ------------------------

constexpr int kFirstBlock = 20;
constexpr int kBlockSize = 14;

struct BlockField {
    Figure figure;
    int offset; // within the block
    int bytes;  // 2: little-endian 16-bit, shown signed; 1: one byte
};

// In the order the page fills its boxes.
constexpr std::array<BlockField, 8> kBlockFields = {{
    {Innings, 0, 2},
    {NotOuts, 2, 2},
    {Overs, 4, 2},
    {Wickets, 6, 2},
    {BowlingRuns, 8, 2},
    {BattingRuns, 10, 2},
    {Fifties, 12, 1},
    {Hundreds, 13, 1},
}};

// ---- The packed fields: a bit stream over bytes 87-89 and 118-139 ----------------

struct BitField {
    int byte;
    int bit; // the field's bit 0 is this bit of `byte`; higher bits run on into the next bytes
    int width;
};

struct PackedField {
    Figure figure;
    BitField field;
    // Bits that storing the figure writes as 0 besides the field (byte, mask).
    int zeroByte;
    std::uint8_t zeroMask;
};

// Per format, in the order the page fills its boxes. Widths differ from format to format.
constexpr std::array<std::array<PackedField, 5>, kStatisticsFormatCount> kPackedFields = {{
    {{{HighestScore, {118, 2, 14}, 118, 0x03},
      {BattingAverage, {120, 0, 8}, 0, 0},
      {BowlingAverage, {130, 5, 11}, 0, 0},
      {BestBowlingRuns, {129, 2, 11}, 129, 0x03},
      {BestBowlingWickets, {87, 0, 8}, 0, 0}}},
    {{{HighestScore, {121, 2, 11}, 121, 0x03},
      {BattingAverage, {122, 5, 11}, 0, 0},
      {BowlingAverage, {133, 3, 8}, 0, 0},
      {BestBowlingRuns, {132, 0, 11}, 0, 0},
      {BestBowlingWickets, {88, 0, 4}, 0, 0}}},
    {{{HighestScore, {124, 0, 11}, 0, 0},
      {BattingAverage, {125, 3, 10}, 0, 0},
      {BowlingAverage, {136, 0, 8}, 0, 0},
      {BestBowlingRuns, {134, 5, 11}, 0, 0},
      // Stored in 6 bits (88 bits 6-7, 89 bits 0-3); shown from 5 (89 bits 0-2).
      {BestBowlingWickets, {88, 6, 6}, 0, 0}}},
    {{{HighestScore, {126, 5, 11}, 0, 0},
      {BattingAverage, {128, 0, 8}, 0, 0},
      {BowlingAverage, {138, 5, 11}, 0, 0},
      {BestBowlingRuns, {137, 2, 11}, 137, 0x03},
      // Storing it also clears bits 2-3 of byte 89.
      {BestBowlingWickets, {89, 4, 4}, 89, 0x0C}}},
}};

constexpr int kFirstClass = 2;
constexpr int kOneDay = 3;
constexpr int kFirstClassWicketsShownWidth = 5;
// Above this, byte 127 holds the One Day highest score's upper part as a complement.
constexpr int kOneDayComplementAbove = 200;

std::uint32_t readBits(const Record& r, BitField f) {
    std::uint32_t value = 0;
    for (int i = 0; i < f.width; ++i) {
        const int position = f.byte * 8 + f.bit + i;
        value |= static_cast<std::uint32_t>(
                     (r[static_cast<std::size_t>(position / 8)] >> (position % 8)) & 1)
                 << i;
    }
    return value;
}

void writeBits(Record& r, BitField f, std::uint32_t value) {
    for (int i = 0; i < f.width; ++i) {
        const int position = f.byte * 8 + f.bit + i;
        auto& byte = r[static_cast<std::size_t>(position / 8)];
        const auto mask = static_cast<std::uint8_t>(1u << (position % 8));
        byte = static_cast<std::uint8_t>(((value >> i) & 1u) != 0 ? byte | mask : byte & ~mask);
    }
}

// Byte 127 above 200 is the One Day highest score's upper part in complement form;
// the figure is shown from its plain form, and storing One Day writes that form.
int oneDayUpper(std::uint8_t stored) {
    return stored > kOneDayComplementAbove ? 256 - stored : stored;
}

// The highest score's upper part above a threshold is read as a complement: the
// value shown is (limit - upper) * weight - lower. Bits 0-1 of bytes 118 and 121
// show as quarters (the game never sets them; stray ones appear as .25, .5, .75).
double shownHighestScore(const Record& r, int format) {
    switch (format) {
    case 0:
    case 1: {
        const int upper = format == 0 ? r[119] : r[122] % 32;
        const double lower = (format == 0 ? r[118] : r[121]) / 4.0;
        return upper <= 9 ? upper * 64 + lower : (32 - upper) * 64 - lower;
    }
    case kFirstClass: {
        const int upper = r[125] % 8;
        return upper <= 4 ? upper * 256 + r[124] : (8 - upper) * 256 - r[124];
    }
    default:
        return oneDayUpper(r[127]) * 8 + r[126] / 32;
    }
}

double shownPackedFigure(const Record& r, int format, const PackedField& packed) {
    if (packed.figure == HighestScore) {
        return shownHighestScore(r, format);
    }
    if (format == 0 && packed.figure == BestBowlingRuns) {
        // Bits 0-1 of byte 129 show as quarters.
        return (r[130] % 32) * 64 + r[129] / 4.0;
    }
    BitField field = packed.field;
    if (format == kFirstClass && packed.figure == BestBowlingWickets) {
        field.width = kFirstClassWicketsShownWidth;
    }
    return readBits(r, field);
}

std::string figureText(double value) {
    if (value == std::floor(value)) {
        return std::to_string(static_cast<long long>(value));
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string out = text;
    while (out.back() == '0') {
        out.pop_back();
    }
    return out;
}

const StatisticsBox& boxOf(Figure figure) {
    return kStatisticsBoxes[static_cast<std::size_t>(figure)];
}

// The box's number: nothing for an empty box; a refusal naming the box and its limit
// for a text that storedFigure refuses.
std::optional<long> parsedFigure(const std::string& text, int format, Figure figure) {
    if (text.empty()) {
        return std::nullopt;
    }
    const int limit = figureLimit(format, figure);
    const std::optional<long> value = storedFigure(text, limit);
    if (!value) {
        throw StoreError(statisticsKey(format, figure),
                         std::string(boxOf(figure).caption) + " (" +
                             std::string(kStatisticsFormats[static_cast<std::size_t>(format)]) +
                             ") must be a whole number from 0 to " + std::to_string(limit));
    }
    return value;
}

std::optional<double> boxNumber(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) {
        return std::nullopt;
    }
    return std::strtod(text.c_str(), nullptr);
}

// Two decimals, at least one integer digit ("##0.00"), halves rounded up.
std::string rateText(double value) {
    const long long hundredths = std::llround(value * 100);
    std::string text = std::to_string(hundredths / 100) + ".00";
    const auto cents = static_cast<int>(hundredths % 100);
    text[text.size() - 2] = static_cast<char>('0' + cents / 10);
    text[text.size() - 1] = static_cast<char>('0' + cents % 10);
    return text;
}

// Strike rate (overs * 6 / wickets) and economy rate (runs / overs); a rate that
// cannot be computed is empty.
void setRates(PlayerSheet& sheet, std::optional<double> overs, std::optional<double> wickets,
              std::optional<double> runs) {
    sheet.strikeRate = overs && wickets && *wickets != 0 ? rateText(*overs * 6 / *wickets) : "";
    sheet.economyRate = runs && overs && *overs != 0 ? rateText(*runs / *overs) : "";
}

} // namespace

const std::array<StatisticsBox, 15> kStatisticsBoxes = {{
    {Innings, &PlayerSheet::innings, "innings", "Innings", true},
    {NotOuts, &PlayerSheet::notOuts, "notOuts", "Not Out's", true},
    {BattingRuns, &PlayerSheet::battingRuns, "battingRuns", "Runs", true},
    {HighestScore, &PlayerSheet::highestScore, "highestScore", "Highest Score", true},
    {BattingAverage, &PlayerSheet::battingAverage, "battingAverage", "Average", true},
    {Hundreds, &PlayerSheet::hundreds, "hundreds", "100's", true},
    {Fifties, &PlayerSheet::fifties, "fifties", "50's", true},
    {Overs, &PlayerSheet::overs, "overs", "Overs", true},
    {BowlingRuns, &PlayerSheet::bowlingRuns, "bowlingRuns", "Runs", true},
    {Wickets, &PlayerSheet::wickets, "wickets", "Wickets", true},
    {BowlingAverage, &PlayerSheet::bowlingAverage, "bowlingAverage", "Average", true},
    {BestBowlingRuns, &PlayerSheet::bestBowlingRuns, "bestBowlingRuns", "Runs", true},
    {BestBowlingWickets, &PlayerSheet::bestBowlingWickets, "bestBowlingWickets", "Wickets", true},
    {StrikeRate, &PlayerSheet::strikeRate, "strikeRate", "Bowling Strike Rate", false},
    {EconomyRate, &PlayerSheet::economyRate, "economyRate", "Bowling Economy Rate", false},
}};

int figureLimit(int format, Figure figure) {
    for (const BlockField& block : kBlockFields) {
        if (block.figure == figure) {
            // 16-bit figures are shown signed.
            return block.bytes == 2 ? 32767 : 255;
        }
    }
    if (figure == HighestScore) {
        // Above these the upper part reads as a complement and shows another value.
        constexpr std::array<int, kStatisticsFormatCount> kHighestScore = {639, 639, 1279, 1607};
        return kHighestScore[static_cast<std::size_t>(format)];
    }
    if (format == kFirstClass && figure == BestBowlingWickets) {
        // Storing One Day wickets clears the bits that would hold 16 and up.
        return 15;
    }
    for (const PackedField& packed : kPackedFields[static_cast<std::size_t>(format)]) {
        if (packed.figure == figure) {
            return (1 << packed.field.width) - 1;
        }
    }
    return 0;
}

std::optional<long> storedFigure(std::string_view text, int limit) {
    const bool number = text.find_first_of("0123456789") != std::string_view::npos &&
                        text.find_first_not_of("0123456789.") == std::string_view::npos &&
                        std::count(text.begin(), text.end(), '.') <= 1;
    if (!number) {
        return std::nullopt;
    }
    // Compared before converting: a long run of digits is beyond any whole type.
    const double value = std::nearbyint(std::strtod(std::string(text).c_str(), nullptr));
    return value <= limit ? std::optional<long>(std::lround(value)) : std::nullopt;
}

std::string statisticsKey(int format, Figure figure) {
    return "statistics." + std::string(kStatisticsFormats[static_cast<std::size_t>(format)]) + "." +
           std::string(boxOf(figure).key);
}

void showStatistics(PlayerSheet& sheet, const Record& working) {
    const int format = sheet.statisticsFormat;
    const int base = kFirstBlock + kBlockSize * format;
    std::array<double, kStatisticsBoxes.size()> shown{};
    for (const BlockField& block : kBlockFields) {
        const auto at = static_cast<std::size_t>(base + block.offset);
        int value = working[at];
        if (block.bytes == 2) {
            if (working[at + 1] >= 128) {
                throw ShowError(statisticsKey(format, block.figure), "Overflow");
            }
            value += working[at + 1] * 256;
        }
        shown[static_cast<std::size_t>(block.figure)] = value;
        sheet.*boxOf(block.figure).box = std::to_string(value);
    }
    for (const PackedField& packed : kPackedFields[static_cast<std::size_t>(format)]) {
        sheet.*boxOf(packed.figure).box = figureText(shownPackedFigure(working, format, packed));
    }
    const auto figure = [&shown](Figure f) {
        return std::optional<double>(shown[static_cast<std::size_t>(f)]);
    };
    setRates(sheet, figure(Overs), figure(Wickets), figure(BowlingRuns));
}

namespace {

// The nearest figure the store keeps for a shown value outside 0 to `limit`.
long figureInRange(double shown, int limit) {
    return std::clamp<long>(std::lround(shown), 0, limit);
}

void writePacked(Record& working, const PackedField& packed, long value) {
    writeBits(working, packed.field, static_cast<std::uint32_t>(value));
    working[static_cast<std::size_t>(packed.zeroByte)] &=
        static_cast<std::uint8_t>(~packed.zeroMask);
}

// The packed figures of one format that show a value a save refuses (a Test highest
// score of 1072 or -548 from its upper byte, First Class best-bowling wickets of 20)
// are set to the nearest value it stores.
void repairPackedFigures(Record& record, int format, FieldRepairs& repairs) {
    for (const PackedField& packed : kPackedFields[static_cast<std::size_t>(format)]) {
        const double shown = shownPackedFigure(record, format, packed);
        const int limit = figureLimit(format, packed.figure);
        if (!storedFigure(figureText(shown), limit)) {
            const long value = figureInRange(shown, limit);
            repairs.push_back(
                {statisticsKey(format, packed.figure), figureText(shown), std::to_string(value)});
            writePacked(record, packed, value);
        }
    }
}

} // namespace

void repairStoredFigures(Record& record, FieldRepairs& repairs) {
    for (int format = 0; format < kStatisticsFormatCount; ++format) {
        repairPackedFigures(record, format, repairs);
    }
}

void repairFiguresOnScreen(PlayerSheet& sheet, Record& working, FieldRepairs& repairs) {
    for (int format = 0; format < kStatisticsFormatCount; ++format) {
        if (format != sheet.statisticsFormat) {
            repairPackedFigures(working, format, repairs);
        }
    }
    if (sheet.statisticsFormat < 0) {
        return;
    }
    // The format on screen is in the boxes; a box that holds a number a save refuses
    // gets the nearest one it stores. A box holding no number is left to its user.
    for (const PackedField& packed :
         kPackedFields[static_cast<std::size_t>(sheet.statisticsFormat)]) {
        std::string& box = sheet.*boxOf(packed.figure).box;
        const int limit = figureLimit(sheet.statisticsFormat, packed.figure);
        const std::string_view digits = std::string_view(box).substr(box.starts_with('-') ? 1 : 0);
        if (!storedFigure(digits, std::numeric_limits<int>::max()) || storedFigure(box, limit)) {
            continue;
        }
        const long value = figureInRange(std::strtod(box.c_str(), nullptr), limit);
        repairs.push_back(
            {statisticsKey(sheet.statisticsFormat, packed.figure), box, std::to_string(value)});
        box = std::to_string(value);
    }
}

void repairStatistics(Record& record, FieldRepairs& repairs) {
    // A 16-bit figure is shown signed: one of 32768 or more reads as an overflow and
    // becomes the largest figure that shows, 32767.
    for (int format = 0; format < kStatisticsFormatCount; ++format) {
        const int base = kFirstBlock + kBlockSize * format;
        for (const BlockField& block : kBlockFields) {
            const auto at = static_cast<std::size_t>(base + block.offset);
            if (block.bytes == 2 && record[at + 1] >= 128) {
                repairs.push_back({statisticsKey(format, block.figure),
                                   std::to_string(record[at] + 256 * record[at + 1]), "32767"});
                record[at] = 0xFF;
                record[at + 1] = 0x7F;
            }
        }
    }
    repairStoredFigures(record, repairs);
}

void storeStatistics(const PlayerSheet& sheet, Record& working, int format) {
    // Every box is checked before any byte changes.
    std::array<std::optional<long>, kStatisticsBoxes.size()> values{};
    for (const StatisticsBox& box : kStatisticsBoxes) {
        if (box.stored) {
            values[static_cast<std::size_t>(box.figure)] =
                parsedFigure(sheet.*box.box, format, box.figure);
        }
    }
    const auto valueOf = [&values](Figure figure) {
        return values[static_cast<std::size_t>(figure)];
    };

    const int base = kFirstBlock + kBlockSize * format;
    for (const BlockField& block : kBlockFields) {
        if (const auto value = valueOf(block.figure)) {
            writeBits(working, {base + block.offset, 0, 8 * block.bytes},
                      static_cast<std::uint32_t>(*value));
        }
    }
    for (const PackedField& packed : kPackedFields[static_cast<std::size_t>(format)]) {
        if (const auto value = valueOf(packed.figure)) {
            writePacked(working, packed, *value);
        }
    }
    if (format == kOneDay && !valueOf(HighestScore)) {
        // An empty box keeps the stored figure, in its plain form.
        working[127] = static_cast<std::uint8_t>(oneDayUpper(working[127]));
    }
}

void switchStatisticsFormat(PlayerSheet& sheet, Record& working, int format) {
    storeStatistics(sheet, working, sheet.statisticsFormat);
    sheet.statisticsFormat = format;
    showStatistics(sheet, working);
}

void updateRates(PlayerSheet& sheet) {
    setRates(sheet, boxNumber(sheet.overs), boxNumber(sheet.wickets), boxNumber(sheet.bowlingRuns));
}

} // namespace qb
