#pragma once

#include "codecs/field_repair.h"
#include "codecs/player_sheet.h"
#include "codecs/tables.h"
#include "roster/layout.h"

namespace qb {

// The check box of a flag in a player sheet.
int& flagBox(PlayerSheet& sheet, FlagControl control, int index);
int flagBox(const PlayerSheet& sheet, FlagControl control, int index);

// Skills: word 196 (skills 1-16) and byte 198 ("Injury Free", the box's state 0-2).
void showSkills(const Record& loaded, PlayerSheet& sheet);
// Injury Free above 2 (no state of the check box) becomes 2.
void repairSkills(Record& record, FieldRepairs& repairs);
void storeSkills(const PlayerSheet& sheet, Record& working);

// Batting weaknesses (byte 188) and favourite shots (byte 192, bits 0-4 of 193).
// Bits 5-7 of byte 193 are not shown and are written 0.
void showShotFlags(const Record& loaded, PlayerSheet& sheet);
void storeShotFlags(const PlayerSheet& sheet, Record& working);

} // namespace qb
