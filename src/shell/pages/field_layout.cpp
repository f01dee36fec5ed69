#include "shell/pages/field_layout.h"

#include "codecs/field_keys.h"
#include "player/field_registry.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace qb {
namespace {

using enum Display;
using enum LaidOutPage;

// The Personal page keeps the old form's places; the statistics boxes keep its names,
// misspelling included (txtHigestScore).
const FieldPlace kPlaces[] = {
    {Personal, keys::kName, Captioned, {1560, 240, 1935, 300}, {240, 255, 1300, 255}},
    // The label stands beside the number and the list of commentary files below it.
    {Personal, keys::kCommentary, Captioned, {1560, 600, 690, 300}, {240, 600, 1300, 700}},
    {Personal, keys::kBodyType, Captioned, {1560, 1320, 1100, 330}, {240, 1350, 1300, 255}},
    {Personal, keys::kHairColour, Captioned, {1560, 1680, 1100, 330}, {240, 1710, 1300, 255}},
    {Personal, keys::kHairStyle, Captioned, {1560, 2040, 1100, 330}, {240, 2070, 1300, 255}},
    {Personal, keys::kFacialHair, Captioned, {1560, 2400, 2600, 330}, {240, 2430, 1300, 255}},
    {Personal, keys::kNation, Captioned, {2835, 1680, 1300, 330}, {2835, 1365, 1300, 255}},
    {Personal,
     keys::kFace,
     PictureFrame,
     {105, 1710, 1410, 330},
     {120, 2760, 1695, 2175},
     {120, 240, 1400, 1400}},
    {Personal,
     keys::kBat,
     PictureFrame,
     {50, 1710, 760, 330},
     {1920, 2760, 855, 2175},
     {75, 240, 700, 1400}},
    {Statistics, "statistics.Test.innings", LeftColumn, {}, {}, {}, "txtInnings"},
    {Statistics, "statistics.Test.notOuts", LeftColumn, {}, {}, {}, "txtNotOuts"},
    {Statistics, "statistics.Test.battingRuns", LeftColumn, {}, {}, {}, "txtBattingRuns"},
    {Statistics, "statistics.Test.highestScore", LeftColumn, {}, {}, {}, "txtHigestScore"},
    {Statistics, "statistics.Test.battingAverage", LeftColumn, {}, {}, {}, "txtBattingAverage"},
    {Statistics, "statistics.Test.hundreds", LeftColumn, {}, {}, {}, "txt100s"},
    {Statistics, "statistics.Test.fifties", LeftColumn, {}, {}, {}, "txt50s"},
    {Statistics, "statistics.Test.overs", RightColumn, {}, {}, {}, "txtOvers"},
    {Statistics, "statistics.Test.bowlingRuns", RightColumn, {}, {}, {}, "txtBowlingRuns"},
    {Statistics, "statistics.Test.wickets", RightColumn, {}, {}, {}, "txtWickets"},
    {Statistics, "statistics.Test.bowlingAverage", RightColumn, {}, {}, {}, "txtBowlingAverage"},
    {Statistics, "statistics.Test.strikeRate", AcrossRow, {}, {}, {}, "txtBowlingSR"},
    {Statistics, "statistics.Test.economyRate", AcrossRow, {}, {}, {}, "txtBowlingER"},
    {Statistics, "statistics.Test.bestBowlingRuns", BestBowling, {}, {}, {}, "txtBestBowling"},
    {Statistics,
     "statistics.Test.bestBowlingWickets",
     BestBowling,
     {},
     {},
     {},
     "txtBestBowlingWickets"},
};

} // namespace

const Field& FieldPlace::field() const {
    const Field* found = findField(key);
    if (found == nullptr) {
        throw std::logic_error("no field " + std::string(key) + " to place");
    }
    return *found;
}

std::span<const FieldPlace> fieldPlaces(LaidOutPage page) {
    // Each page's rows stand together in the table.
    const auto first = std::ranges::find(kPlaces, page, &FieldPlace::page);
    const auto end = std::find_if(first, std::end(kPlaces),
                                  [page](const FieldPlace& place) { return place.page != page; });
    return {first, end};
}

} // namespace qb
