#pragma once

#include "codecs/field_repair.h"
#include "codecs/player_sheet.h"
#include "roster/layout.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace qb {

enum class Figure {
    Innings,
    NotOuts,
    BattingRuns,
    HighestScore,
    BattingAverage,
    Hundreds,
    Fifties,
    Overs,
    BowlingRuns,
    Wickets,
    BowlingAverage,
    BestBowlingRuns,
    BestBowlingWickets,
    StrikeRate,
    EconomyRate,
};

struct StatisticsBox {
    Figure figure;
    std::string PlayerSheet::*box;
    std::string_view key; // "innings", "notOuts", ...
    std::string_view caption;
    bool stored; // false for the two derived rates
};

// The fifteen boxes of the statistics page, in the order of the player object.
extern const std::array<StatisticsBox, 15> kStatisticsBoxes;

inline constexpr int kStatisticsFormatCount = 4;

// The largest value a stored figure of a format takes and shows back unchanged.
int figureLimit(int format, Figure figure);
std::string statisticsKey(int format, Figure figure);
// What a figure typed as `text` stores: digits with at most one decimal point, rounded
// to the nearest whole number, at most `limit`; nothing for any other text. The one
// check of a figure, wherever it is typed.
std::optional<long> storedFigure(std::string_view text, int limit);

// Fills the stored-figure boxes for the format in statisticsFormat from the working
// record, then the two rates. A 16-bit figure of 32768 or more fails with "Overflow".
// Showing changes no byte: a One Day highest score in the game's complement form (byte
// 127 above 200) is shown from its plain form, which storing One Day writes.
void showStatistics(PlayerSheet& sheet, const Record& working);
// Sets every figure of every format that would show "Overflow" to one that shows, and
// every figure that shows a value a save refuses (see repairStoredFigures) into range.
void repairStatistics(Record& record, FieldRepairs& repairs);
// Sets every figure that shows, in any format, a value a save would refuse (a Test
// highest score of 1072 or -548 from stray upper bits) to the nearest one it stores.
void repairStoredFigures(Record& record, FieldRepairs& repairs);
// The same for a player on screen: the format shown is repaired in its boxes, the
// others in the working record.
void repairFiguresOnScreen(PlayerSheet& sheet, Record& working, FieldRepairs& repairs);

// Writes the boxes of format `format` into the working record. An empty box keeps
// the stored figure; a shown fraction is stored as the nearest whole number. A value
// that is not a number or is outside its field's range refuses the whole store,
// naming the box and the limit, before any byte changes.
void storeStatistics(const PlayerSheet& sheet, Record& working, int format);

// Stores the figures of the format being left, then shows `format`.
void switchStatisticsFormat(PlayerSheet& sheet, Record& working, int format);

// Strike rate (overs * 6 / wickets, "##0.00") and economy rate (runs / overs,
// "#0.00") from the boxes; a rate that cannot be computed is empty.
void updateRates(PlayerSheet& sheet);

} // namespace qb
