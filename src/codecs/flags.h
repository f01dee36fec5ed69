#pragma once

#include "codecs/field_repair.h"
#include "codecs/player_sheet.h"
#include "codecs/tables.h"
#include "roster/layout.h"

namespace qb {

// The check box of a flag in an editor state.
int& flagBox(PlayerSheet& state, FlagControl control, int index);
int flagBox(const PlayerSheet& state, FlagControl control, int index);

// Skills: word 196 (skills 1-16) and byte 198 ("Injury Free", the box's state 0-2).
void readSkills(const Record& loaded, PlayerSheet& state);
// Injury Free above 2 (no state of the check box) becomes 2.
void RepairSkills(Record& record, FieldRepairs& repairs);
void writeSkills(const PlayerSheet& state, Record& working);

// Batting weaknesses (byte 188) and favourite shots (byte 192, bits 0-4 of 193).
// Bits 5-7 of byte 193 are not shown and are written 0.
void readShotFlags(const Record& loaded, PlayerSheet& state);
void writeShotFlags(const PlayerSheet& state, Record& working);

} // namespace qb
