#include "codecs/identity.h"

#include "codecs/bits.h"
#include "codecs/codec_errors.h"
#include "codecs/tables.h"
#include "roster/codepage.h"
#include "roster/player_lists.h"

#include <algorithm>

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

void ShowNation(const Record& loaded, EditorState& state) {
    const int entry = BitToIndex(read16(loaded.data(), OFFSET_NATION));
    if (entry == 0) {
        throw ShowError("nation", std::string(kInvalidPropertyValue));
    }
    state.cboNation = entry - 1;
}

void ShowAppearance(const Record& loaded, EditorState& state) {
    state.cboFace = numberEntry(loaded[kFaceOffset], kFaceCount, "appearance.face");
    const int body = loaded[kBodyTypeOffset];
    state.cboBodyType = body < kBodyTypeCount ? body : kFallbackBodyType;
    const int hair = loaded[kHairColourOffset];
    const auto* code = std::find(kHairColourCodes.begin(), kHairColourCodes.end(), hair);
    state.cboHairColour =
        code == kHairColourCodes.end() ? 0 : static_cast<int>(code - kHairColourCodes.begin());
    state.cboHairStyle =
        numberEntry(loaded[kHairStyleOffset], kHairStyleCount, "appearance.hairStyle");
    state.cboFacialHair = numberEntry(
        loaded[kFacialHairOffset], static_cast<int>(kFacialHair.size()), "appearance.facialHair");
    state.cboBat = numberEntry(loaded[kBatOffset], kBatCount, "appearance.bat");
}

void ShowCommentary(const Record& loaded, EditorState& state, int commentaryCount) {
    const int number = BytesToLong(loaded[OFFSET_COMMENTARY], loaded[OFFSET_COMMENTARY + 1]);
    state.txtCommentary = std::to_string(number);
    // Number 0 selects nothing; a number past the list cannot be selected.
    if (number > commentaryCount) {
        throw ShowError("commentary", std::string(kInvalidPropertyValue));
    }
    state.cboCommentary = number - 1;
}

std::string trimName(std::string_view name) {
    const auto first = name.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(name.substr(first, name.find_last_not_of(' ') - first + 1));
}

std::optional<std::string> nameRefusal(std::string_view name) {
    for (const char32_t ch : utf8ToChars(name)) {
        if (ch < U' ' || (ch >= U'\x7F' && ch <= U'\x9F')) {
            return "a name cannot hold control characters (tab, line break and the like)";
        }
    }
    return std::nullopt;
}

void StoreName(const EditorState& state, Record& working) {
    const std::string name = trimName(state.txtName);
    if (name != trimName(recordName(working.data()))) {
        if (const auto refusal = nameRefusal(name)) {
            throw StoreError("name", *refusal);
        }
    }
    const std::u32string chars = utf8ToChars(name);
    for (int i = 0; i < NAME_MAX_CHARS; ++i) {
        const auto position = static_cast<std::size_t>(i);
        std::uint8_t byte = 0;
        if (position < chars.size()) {
            byte = encodeCp1252(chars[position]).value_or(0);
        }
        working[static_cast<std::size_t>(OFFSET_NAME + i)] = byte;
    }
}

void StoreNation(const EditorState& state, Record& working) {
    const int entry = selectedEntry(state.cboNation, kNationCodes.size(), "nation", "country");
    std::uint8_t scratch = 0;
    LongToBytes(std::int64_t{1} << entry, working[OFFSET_NATION], working[OFFSET_NATION + 1],
                scratch);
}

void StoreCommentary(const EditorState& state, Record& working) {
    const std::string& text = state.txtCommentary;
    const bool wholeNumber =
        !text.empty() && text.size() <= 4 &&
        std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
    if (!wholeNumber) {
        throw StoreError("commentary",
                         "The commentary number must be a whole number of at most four digits");
    }
    std::uint8_t scratch = 0;
    LongToBytes(std::stoi(text), working[OFFSET_COMMENTARY], working[OFFSET_COMMENTARY + 1],
                scratch);
}

void StoreAppearance(const EditorState& state, Record& working) {
    working[kFaceOffset] = selectedEntry(state.cboFace, kFaceCount, "appearance.face", "face");
    working[kBodyTypeOffset] =
        selectedEntry(state.cboBodyType, kBodyTypeCount, "appearance.bodyType", "body type");
    working[kHairColourOffset] = kHairColourCodes[selectedEntry(
        state.cboHairColour, kHairColours.size(), "appearance.hairColour", "hair colour")];
    working[kHairStyleOffset] =
        selectedEntry(state.cboHairStyle, kHairStyleCount, "appearance.hairStyle", "hair style");
    working[kFacialHairOffset] = selectedEntry(state.cboFacialHair, kFacialHair.size(),
                                               "appearance.facialHair", "facial hair");
    working[kBatOffset] = selectedEntry(state.cboBat, kBatCount, "appearance.bat", "bat");
}

} // namespace qb
