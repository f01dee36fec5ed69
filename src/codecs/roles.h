#pragma once

#include "codecs/field_repair.h"
#include "codecs/player_sheet.h"
#include "roster/layout.h"

namespace qb {

// Roles and styles in bytes 106-110. The same bytes carry bits of the fielding
// ratings Speed, Temperament and Consistency, which the role stores write.

// Byte 106 bit 7 and byte 107 bit 0 form the batting position; byte 107 bits 3-4
// the style. Codes the game does not use leave both lists as they were.
void showBattingRole(int positionByte, int styleByte, PlayerSheet& sheet);
// Byte 108: style in the low nibble, mentality 0/1/2 as 0-9, 16-25, 32-41.
void showBowlingRole(int code, PlayerSheet& sheet);
void selectBowlingStyle(int styleIndex, int mentalityIndex, PlayerSheet& sheet);
// Byte 109: batting hand bit 0, fielding hand bit 2, position 1 bits 3-5, position 2
// low bit in bit 7; byte 110 bits 0-3: position 2 divided by 2.
void showFieldingRole(int handsByte, int positionByte, PlayerSheet& sheet);
// A second fielding position past its list becomes the list's last entry.
void repairFieldingRole(Record& record, FieldRepairs& repairs);
void selectHandsAndPositions(int battingHand, int fieldingPosition1, int fieldingPosition2,
                             int fieldingHand, PlayerSheet& sheet);

// A list with no selection keeps its field's bits from the record; rating bits that
// share a byte are always replaced from the sliders.
void storeBattingRole(const PlayerSheet& sheet, Record& working);
void storeBowlingRole(const PlayerSheet& sheet, Record& working);
void storeFieldingRole(const PlayerSheet& sheet, Record& working);

} // namespace qb
