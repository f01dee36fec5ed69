#pragma once

#include "codecs/field_repair.h"
#include "codecs/player_sheet.h"
#include "codecs/tables.h"
#include "roster/layout.h"

namespace qb {

inline constexpr int kMaxRating = 63;

// The slider of a rating in a player sheet.
int& ratingSlider(PlayerSheet& sheet, RatingTab tab, int index);
int ratingSlider(const PlayerSheet& sheet, RatingTab tab, int index);

// Sets the 36 sliders from record bytes 76-112, one by one in table order. A value
// above 63 fails with "Invalid property value"; the sliders after it keep their values.
void showRatings(const Record& loaded, PlayerSheet& sheet);

// Sets every rating above 63 to 63.
void repairRatings(Record& record, FieldRepairs& repairs);

// Writes the groups 76, 80, 84, 92, 96, 100 and bytes 79, 83, 90, 91, 95, 99, 103,
// 111 and 112. The rating bits in bytes 104-106 and 110 are written by the role stores.
void storeRatings(const PlayerSheet& sheet, Record& working);

// Checks that every slider holds 0-63; fails naming the first that does not.
void requireRatingsInRange(const PlayerSheet& sheet);

// The percentage shown in a slider's tips.
int ratingPercent(int rating);

} // namespace qb
