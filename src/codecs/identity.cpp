#include "codecs/identity.h"

#include "codecs/bits.h"
#include "codecs/codec_errors.h"
#include "codecs/field_keys.h"
#include "codecs/tables.h"
#include "roster/codepage.h"
#include "roster/player_lists.h"
#include "system/trimmed.h"

#include <algorithm>
#include <bit>

namespace qb {
namespace {

constexpr int kFaceOffset = 205;
constexpr int kBodyTypeOffset = 206;
constexpr int kHairColourOffset = 207;
constexpr int kHairStyleOffset = 208;
constexpr int kFacialHairOffset = 209;
constexpr int kBatOffset = 210;
// Body types out of range are shown as entry "1".
constexpr int kFallbackBodyType = 1;

// The entry of a number list whose text is `value`; the list has `count` entries.
int numberEntry(int value, int count, const char* key) {
    if (value >= count) {
        throw ShowError(key, std::string(kInvalidPropertyValue));
    }
    return value;
}

std::uint8_t selectedEntry(int index, std::size_t count, const char* key, const char* what) {
    if (index < 0 || static_cast<std::size_t>(index) >= count) {
        throw StoreError(key, std::string("No ") + what + " is selected");
    }
    return static_cast<std::uint8_t>(index);
}

} // namespace

void showNation(const Record& loaded, PlayerSheet& sheet) {
    const int entry = singleBitIndex(read16(loaded.data(), OFFSET_NATION));
    if (entry == 0) {
        throw ShowError(keys::kNation, std::string(kInvalidPropertyValue));
    }
    sheet.nation = entry - 1;
}

void showAppearance(const Record& loaded, PlayerSheet& sheet) {
    sheet.face = numberEntry(loaded[kFaceOffset], kFaceCount, keys::kFace);
    const int body = loaded[kBodyTypeOffset];
    sheet.bodyType = body < kBodyTypeCount ? body : kFallbackBodyType;
    const int hair = loaded[kHairColourOffset];
    const auto* code = std::find(kHairColourCodes.begin(), kHairColourCodes.end(), hair);
    sheet.hairColour =
        code == kHairColourCodes.end() ? 0 : static_cast<int>(code - kHairColourCodes.begin());
    sheet.hairStyle = numberEntry(loaded[kHairStyleOffset], kHairStyleCount, keys::kHairStyle);
    sheet.facialHair = numberEntry(loaded[kFacialHairOffset], static_cast<int>(kFacialHair.size()),
                                   keys::kFacialHair);
    sheet.bat = numberEntry(loaded[kBatOffset], kBatCount, keys::kBat);
}

void showCommentary(const Record& loaded, PlayerSheet& sheet, int commentaryCount) {
    const int number = read16(loaded.data(), OFFSET_COMMENTARY);
    sheet.commentary = std::to_string(number);
    // Number 0 selects nothing; a number past the list cannot be selected.
    if (number > commentaryCount) {
        throw ShowError(keys::kCommentary, std::string(kInvalidPropertyValue));
    }
    sheet.commentaryEntry = number - 1;
}

std::string trimName(std::string_view name) {
    return std::string(trimmed(name));
}

void repairIdentity(Record& record, int commentaryCount, FieldRepairs& repairs) {
    // Nation: exactly one of the 14 nation bits. With several, the first of them;
    // with none, the list's first entry.
    const std::uint16_t nation = read16(record.data(), OFFSET_NATION);
    if (singleBitIndex(nation) == 0) {
        const unsigned nationBits = nation & ((1U << kNationCodes.size()) - 1);
        const int entry = nationBits == 0 ? 0 : std::countr_zero(nationBits);
        const int bits = std::popcount(nationBits);
        std::uint8_t scratch = 0;
        storeLittleEndian(std::int64_t{1} << entry, record[OFFSET_NATION],
                          record[OFFSET_NATION + 1], scratch);
        repairs.push_back({keys::kNation,
                           bits > 1 ? std::to_string(bits) + " bits" : std::to_string(nation),
                           std::string(kNationCodes[static_cast<std::size_t>(entry)])});
    }
    // Number lists: a number past the list becomes its last entry.
    struct NumberList {
        int offset;
        int count;
        const char* key;
    };
    constexpr std::array<NumberList, 4> kNumberLists = {{
        {kFaceOffset, kFaceCount, keys::kFace},
        {kHairStyleOffset, kHairStyleCount, keys::kHairStyle},
        {kFacialHairOffset, static_cast<int>(kFacialHair.size()), keys::kFacialHair},
        {kBatOffset, kBatCount, keys::kBat},
    }};
    for (const NumberList& list : kNumberLists) {
        std::uint8_t& value = record[static_cast<std::size_t>(list.offset)];
        if (value >= list.count) {
            const std::string before = std::to_string(value);
            value = static_cast<std::uint8_t>(list.count - 1);
            repairs.push_back({list.key, before,
                               list.offset == kFacialHairOffset ? std::string(kFacialHair[value])
                                                                : std::to_string(value)});
        }
    }
    const int commentary = read16(record.data(), OFFSET_COMMENTARY);
    if (commentary > commentaryCount) {
        std::uint8_t scratch = 0;
        storeLittleEndian(commentaryCount, record[OFFSET_COMMENTARY], record[OFFSET_COMMENTARY + 1],
                          scratch);
        repairs.push_back(
            {keys::kCommentary, std::to_string(commentary), std::to_string(commentaryCount)});
    }
}

std::optional<std::string> nameRefusal(std::string_view name) {
    for (const char32_t ch : utf8ToChars(name)) {
        if (ch < U' ' || (ch >= U'\x7F' && ch <= U'\x9F')) {
            return "a name cannot hold control characters (tab, line break and the like)";
        }
    }
    return std::nullopt;
}

void storeName(const PlayerSheet& sheet, Record& working) {
    const std::string name = trimName(sheet.name);
    // A name the record already holds is kept as it is, whatever it holds.
    if (name != trimName(recordName(working.data()))) {
        if (const auto refusal = nameRefusal(name)) {
            throw StoreError(keys::kName, *refusal);
        }
    }
    std::string bytes;
    for (const char32_t ch : utf8ToChars(name)) {
        const std::optional<std::uint8_t> code = encodeCp1252(ch);
        if (!code) {
            throw StoreError(keys::kName,
                             "The name cannot hold the character \"" + charToUtf8(ch) +
                                 "\": the game's code page (Windows-1252) has no code for it");
        }
        bytes.push_back(static_cast<char>(*code));
    }
    // Byte 19 is never written, so a sixteenth character is only accepted when it is the
    // one byte 19 already holds (a name that fills all 16 bytes, shown and kept as it is).
    const bool keepsByte19 = bytes.size() == NAME_MAX_CHARS + 1 &&
                             static_cast<std::uint8_t>(bytes.back()) ==
                                 working[static_cast<std::size_t>(OFFSET_NAME + NAME_MAX_CHARS)];
    if (bytes.size() > NAME_MAX_CHARS && !keepsByte19) {
        throw StoreError(keys::kName, "The name can hold at most " +
                                          std::to_string(NAME_MAX_CHARS) + " characters");
    }
    for (int i = 0; i < NAME_MAX_CHARS; ++i) {
        const auto position = static_cast<std::size_t>(i);
        working[static_cast<std::size_t>(OFFSET_NAME + i)] =
            position < bytes.size() ? static_cast<std::uint8_t>(bytes[position]) : 0;
    }
}

void storeNation(const PlayerSheet& sheet, Record& working) {
    const int entry = selectedEntry(sheet.nation, kNationCodes.size(), keys::kNation, "country");
    std::uint8_t scratch = 0;
    storeLittleEndian(std::int64_t{1} << entry, working[OFFSET_NATION], working[OFFSET_NATION + 1],
                      scratch);
}

void storeCommentary(const PlayerSheet& sheet, Record& working, int commentaryCount) {
    const std::string& text = sheet.commentary;
    const bool wholeNumber =
        !text.empty() && text.size() <= 4 &&
        std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
    if (!wholeNumber) {
        throw StoreError(keys::kCommentary,
                         "The commentary number must be a whole number of at most four digits");
    }
    // A number past the list could be written but never shown again: the next load fails.
    const int number = std::stoi(text);
    if (number > commentaryCount) {
        throw StoreError(keys::kCommentary, "The commentary number must be from 0 to " +
                                                std::to_string(commentaryCount) +
                                                ", the entries of the commentary list");
    }
    std::uint8_t scratch = 0;
    storeLittleEndian(number, working[OFFSET_COMMENTARY], working[OFFSET_COMMENTARY + 1], scratch);
}

void storeAppearance(const PlayerSheet& sheet, Record& working) {
    working[kFaceOffset] = selectedEntry(sheet.face, kFaceCount, keys::kFace, "face");
    working[kBodyTypeOffset] =
        selectedEntry(sheet.bodyType, kBodyTypeCount, keys::kBodyType, "body type");
    working[kHairColourOffset] = kHairColourCodes[selectedEntry(
        sheet.hairColour, kHairColours.size(), keys::kHairColour, "hair colour")];
    working[kHairStyleOffset] =
        selectedEntry(sheet.hairStyle, kHairStyleCount, keys::kHairStyle, "hair style");
    working[kFacialHairOffset] =
        selectedEntry(sheet.facialHair, kFacialHair.size(), keys::kFacialHair, "facial hair");
    working[kBatOffset] = selectedEntry(sheet.bat, kBatCount, keys::kBat, "bat");
}

} // namespace qb
