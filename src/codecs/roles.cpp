#include "codecs/roles.h"

#include "codecs/codec_errors.h"
#include "codecs/field_keys.h"
#include "codecs/identity.h"
#include "codecs/ratings.h"
#include "codecs/tables.h"

#include <string>

namespace qb {
namespace {

constexpr int kStyleOfByte107 = 8; // byte 107 = position low bit + 8 * style

bool isBattingStyleCode(int styleByte) {
    return styleByte == 0 || styleByte == 1 || styleByte == 8 || styleByte == 9 ||
           styleByte == 16 || styleByte == 17;
}

// Sets a list's index, failing like the list does for an entry it does not have.
void selectEntry(int& list, int index, std::size_t count, const char* key) {
    if (index < 0 || static_cast<std::size_t>(index) >= count) {
        throw ShowError(key, std::string(kInvalidPropertyValue));
    }
    list = index;
}

bool isSelected(int index, std::size_t count) {
    return index >= 0 && static_cast<std::size_t>(index) < count;
}

std::uint8_t toByte(int value) {
    return static_cast<std::uint8_t>(value);
}

} // namespace

void showBattingRole(int positionByte, int styleByte, PlayerSheet& sheet) {
    // Only bit 7 of byte 106 is the position; a byte of 9-127 is no code the game writes.
    const bool highBit = positionByte >= 128;
    if (!highBit && positionByte > 8) {
        return;
    }
    if (!isBattingStyleCode(styleByte)) {
        return;
    }
    const int lowBit = styleByte % 2;
    sheet.battingPosition = 2 * lowBit + (highBit ? 1 : 0);
    sheet.battingStyle = styleByte / kStyleOfByte107;
}

void showBowlingRole(int code, PlayerSheet& sheet) {
    const int mentality = code / 16;
    if (mentality > 2 || code % 16 > 9) {
        return;
    }
    selectBowlingStyle(code % 16, mentality, sheet);
}

void selectBowlingStyle(int styleIndex, int mentalityIndex, PlayerSheet& sheet) {
    selectEntry(sheet.bowlingStyle, styleIndex, kBowlingStyles.size(), keys::kBowlingStyle);
    selectEntry(sheet.bowlingMentality, mentalityIndex, kBowlingMentalities.size(),
                keys::kBowlingMentality);
}

void showFieldingRole(int handsByte, int positionByte, PlayerSheet& sheet) {
    const int battingHand = handsByte % 2;
    const int fieldingHand = (handsByte / 4) % 2;
    const int position1 = (handsByte / 8) % 8;
    const int position2 = 2 * (positionByte % 16) + (handsByte >= 128 ? 1 : 0);
    selectHandsAndPositions(battingHand, position1, position2, fieldingHand, sheet);
}

void selectHandsAndPositions(int battingHand, int fieldingPosition1, int fieldingPosition2,
                             int fieldingHand, PlayerSheet& sheet) {
    selectEntry(sheet.battingHand, battingHand, kHands.size(), keys::kBattingHand);
    selectEntry(sheet.fieldingPosition1, fieldingPosition1, kFieldingPositions1.size(),
                keys::kFieldingPosition1);
    selectEntry(sheet.fieldingPosition2, fieldingPosition2, kFieldingPositions2.size(),
                keys::kFieldingPosition2);
    selectEntry(sheet.fieldingHand, fieldingHand, kHands.size(), keys::kFieldingHand);
}

void repairFieldingRole(Record& record, FieldRepairs& repairs) {
    // Position 2 is twice the low nibble of byte 110 plus bit 7 of byte 109.
    const int position2 = 2 * (record[110] % 16) + (record[109] >= 128 ? 1 : 0);
    const int last = static_cast<int>(kFieldingPositions2.size()) - 1;
    if (position2 <= last) {
        return;
    }
    record[110] = toByte((record[110] & 0xF0) | last / 2);
    record[109] = toByte((record[109] & 0x7F) | (last % 2) * 128);
    repairs.push_back({keys::kFieldingPosition2, std::to_string(position2),
                       std::string(kFieldingPositions2[static_cast<std::size_t>(last)])});
}

void storeBattingRole(const PlayerSheet& sheet, Record& working) {
    requireRatingsInRange(sheet);
    const int temperament = sheet.fieldingRatings[kTemperamentRating];
    const int consistency = sheet.fieldingRatings[kConsistencyRating];
    int positionBit = working[106] & 0x80;
    if (isSelected(sheet.battingPosition, kBattingPositions.size())) {
        const int position = sheet.battingPosition;
        positionBit = (position == 1 || position == 3) ? 0x80 : 0;
        const int lowBit = position >= 2 ? 1 : 0;
        // An unselected style keeps its stored bits 3-4.
        const int style = isSelected(sheet.battingStyle, kBattingStyles.size())
                              ? sheet.battingStyle * kStyleOfByte107
                              : working[107] & 0x18;
        working[107] = toByte(lowBit + style);
    }
    // Bits 0-5 of byte 104 are always the constant 56.
    working[104] = toByte((temperament % 4) * 64 + 56);
    working[105] = toByte((consistency % 16) * 16 + temperament / 4);
    // Bits 4-6 of byte 106 are written 0.
    working[106] = toByte(positionBit + consistency / 16);
}

void storeBowlingRole(const PlayerSheet& sheet, Record& working) {
    const int mentality = isSelected(sheet.bowlingMentality, kBowlingMentalities.size())
                              ? sheet.bowlingMentality
                              : working[108] / 16;
    const int style = isSelected(sheet.bowlingStyle, kBowlingStyles.size()) ? sheet.bowlingStyle
                                                                            : working[108] % 16;
    working[108] = toByte(mentality * 16 + style);
}

void storeFieldingRole(const PlayerSheet& sheet, Record& working) {
    const int hands = working[109];
    const auto keepOr = [](int index, std::size_t count, int stored) {
        return isSelected(index, count) ? index : stored;
    };
    const int position2 = keepOr(sheet.fieldingPosition2, kFieldingPositions2.size(),
                                 2 * (working[110] % 16) + (hands >= 128 ? 1 : 0));
    const int position1 =
        keepOr(sheet.fieldingPosition1, kFieldingPositions1.size(), (hands / 8) % 8);
    const int battingHand = keepOr(sheet.battingHand, kHands.size(), hands % 2);
    const int fieldingHand = keepOr(sheet.fieldingHand, kHands.size(), (hands / 4) % 2);
    // The left-arm flag follows the bowling style; with no style it keeps its bit.
    const int leftArm = isSelected(sheet.bowlingStyle, kBowlingStyles.size())
                            ? (isLeftArmStyle(sheet.bowlingStyle) ? 2 : 0)
                            : hands & 2;
    // Bit 6 of byte 109 is written 0.
    working[109] =
        toByte(position1 * 8 + battingHand + fieldingHand * 4 + (position2 % 2) * 128 + leftArm);
    working[110] = toByte(position2 / 2 + (sheet.fieldingRatings[kSpeedRating] % 16) * 16);
}

} // namespace qb
