#pragma once

#include "codecs/field_repair.h"
#include "codecs/player_sheet.h"
#include "roster/layout.h"

#include <optional>
#include <string>
#include <string_view>

namespace qb {

// Identity and appearance: name 4-18, commentary number 2-3, nation 216-217 and the
// appearance bytes 205-210.

inline constexpr std::string_view kInvalidPropertyValue = "Invalid property value";
// The game's commentary-name list has this many entries.
inline constexpr int kCommentaryNameCount = 1015;

void showNation(const Record& loaded, PlayerSheet& sheet);
// Face, body type, hair colour, hair style, facial hair and bat, in that order.
void showAppearance(const Record& loaded, PlayerSheet& sheet);
// `commentaryCount` is the number of entries of the commentary-name list.
void showCommentary(const Record& loaded, PlayerSheet& sheet, int commentaryCount);

// Sets the nation, the number lists of the appearance and the commentary number to
// values their editors can show when they hold one they cannot.
void repairIdentity(Record& record, int commentaryCount, FieldRepairs& repairs);

// The name without leading and trailing spaces (only spaces are removed).
std::string trimName(std::string_view name);
// Why a name cannot be stored, or nothing: a control character (tab, line break and
// the like) would be written into the game's player lists. Both front ends check
// typed names with it; storeName refuses such a name unless the record holds it already.
std::optional<std::string> nameRefusal(std::string_view name);
// Offsets 4-18 from the trimmed name. A changed name that nameRefusal refuses, a
// character without a Windows-1252 code, or more than 15 characters (16 when the last is
// the byte 19 already holds) throws a StoreError before any byte changes. Offset 19 is
// never written.
void storeName(const PlayerSheet& sheet, Record& working);
void storeNation(const PlayerSheet& sheet, Record& working);
// A number from 0 to `commentaryCount` (0 selects no entry).
void storeCommentary(const PlayerSheet& sheet, Record& working, int commentaryCount);
void storeAppearance(const PlayerSheet& sheet, Record& working);

} // namespace qb
