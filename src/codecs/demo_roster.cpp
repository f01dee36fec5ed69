#include "codecs/demo_roster.h"

#include "codecs/flags.h"
#include "codecs/identity.h"
#include "codecs/player_sheet.h"
#include "codecs/ratings.h"
#include "codecs/roles.h"
#include "codecs/statistics.h"
#include "codecs/tables.h"
#include "roster/layout.h"

#include <array>
#include <cstring>
#include <string_view>

namespace qb {
namespace {

// xorshift32: the same numbers everywhere, unlike the standard distributions.
class DemoRandom {
public:
    int below(int bound) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<int>(state_ % static_cast<std::uint32_t>(bound));
    }
    int between(int low, int high) { return low + below(high - low + 1); }

private:
    std::uint32_t state_ = 20040604;
};

constexpr std::array<std::string_view, 24> kOpenings = {
    "Bar", "Cal", "Dun", "Fen", "Gar", "Hal", "Kel", "Lom", "Mar", "Nor", "Pel", "Ros",
    "Sal", "Tor", "Val", "Wes", "Ash", "Bro", "Cor", "Dre", "Elm", "Fol", "Gil", "Hart"};
constexpr std::array<std::string_view, 16> kEndings = {
    "ton",   "ley",   "wick",  "by",  "ford",  "more",  "well", "ham",
    "stead", "field", "croft", "den", "worth", "ridge", "ling", "shaw"};
constexpr std::string_view kInitials = "ABCDEFGHJKLMNPRSTW";

std::string demoName(DemoRandom& random) {
    std::string name(
        1, kInitials[static_cast<std::size_t>(random.below(static_cast<int>(kInitials.size())))]);
    name += ' ';
    name += kOpenings[static_cast<std::size_t>(random.below(kOpenings.size()))];
    name += kEndings[static_cast<std::size_t>(random.below(kEndings.size()))];
    return name;
}

void fillStatistics(PlayerSheet& s, Record& r, DemoRandom& random) {
    for (int format = 0; format < kStatisticsFormatCount; ++format) {
        const int innings = random.between(0, 180);
        const int runs = innings * random.between(5, 45);
        const int overs = random.between(0, 1500);
        const int wickets = overs / random.between(4, 12);
        s.innings = std::to_string(innings);
        s.notOuts = std::to_string(innings / random.between(5, 12));
        s.battingRuns = std::to_string(runs);
        s.highestScore = std::to_string(innings == 0 ? 0 : random.between(10, 250));
        s.battingAverage = std::to_string(innings == 0 ? 0 : runs / innings);
        s.hundreds = std::to_string(runs / 1200);
        s.fifties = std::to_string(runs / 450);
        s.overs = std::to_string(overs);
        s.bowlingRuns = std::to_string(overs * random.between(25, 50) / 10);
        s.wickets = std::to_string(wickets);
        s.bowlingAverage = std::to_string(wickets == 0 ? 0 : random.between(18, 60));
        s.bestBowlingRuns = std::to_string(wickets == 0 ? 0 : random.between(8, 90));
        s.bestBowlingWickets = std::to_string(wickets == 0 ? 0 : random.between(1, 9));
        storeStatistics(s, r, format);
    }
}

Record demoPlayer(int slot, DemoRandom& random) {
    Record r{};
    r[OFFSET_ID] = static_cast<std::uint8_t>((1000 + slot) & 0xFF);
    r[OFFSET_ID + 1] = static_cast<std::uint8_t>((1000 + slot) >> 8);
    // Bytes the editor never touches still hold something, as in the game's files.
    for (int offset = 140; offset < 188; ++offset) {
        r[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(random.below(256));
    }
    PlayerSheet s;
    s.name = demoName(random);
    s.nation = slot % static_cast<int>(kNationCodes.size());
    s.commentary = std::to_string(random.between(1, kCommentaryNameCount));
    s.face = random.below(kFaceCount);
    s.bodyType = random.below(kBodyTypeCount);
    s.hairColour = random.below(static_cast<int>(kHairColours.size()));
    s.hairStyle = random.below(kHairStyleCount);
    s.facialHair = random.below(static_cast<int>(kFacialHair.size()));
    s.bat = random.below(kBatCount);
    s.battingPosition = random.below(static_cast<int>(kBattingPositions.size()));
    s.battingStyle = random.below(static_cast<int>(kBattingStyles.size()));
    s.battingHand = random.below(static_cast<int>(kHands.size()));
    s.bowlingStyle = random.below(static_cast<int>(kBowlingStyles.size()));
    s.bowlingMentality = random.below(static_cast<int>(kBowlingMentalities.size()));
    s.fieldingPosition1 = random.below(static_cast<int>(kFieldingPositions1.size()));
    s.fieldingPosition2 = random.below(static_cast<int>(kFieldingPositions2.size()));
    s.fieldingHand = random.below(static_cast<int>(kHands.size()));
    for (const RatingLocation& location : kRatingLocations) {
        ratingSlider(s, location.tab, location.index) = random.between(15, kMaxRating);
    }
    for (const FlagBit& flag : kFlagBits) {
        flagBox(s, flag.control, flag.index) = random.below(5) == 0 ? 1 : 0;
    }
    s.skills[kInjuryFreeIndex] = random.below(3);

    storeName(s, r);
    storeNation(s, r);
    storeBattingRole(s, r);
    storeBowlingRole(s, r);
    storeFieldingRole(s, r);
    fillStatistics(s, r, random);
    storeRatings(s, r);
    storeShotFlags(s, r);
    storeSkills(s, r);
    storeCommentary(s, r, kCommentaryNameCount);
    storeAppearance(s, r);
    return r;
}

} // namespace

std::vector<std::uint8_t> makeDemoSlotTable() {
    std::vector<std::uint8_t> table(static_cast<std::size_t>(SLOT_TABLE_SIZE), 0);
    DemoRandom random;
    for (int slot = 0; slot < kDemoPlayerCount; ++slot) {
        const Record player = demoPlayer(slot, random);
        std::memcpy(table.data() + static_cast<std::ptrdiff_t>(slot) * SLOT_SIZE, player.data(),
                    player.size());
    }
    return table;
}

std::vector<std::uint8_t> makeDemoSaveHeader() {
    constexpr std::string_view kText = "Quillbay demo season - Test series, round 3";
    std::vector<std::uint8_t> header(SAVE_HEADER_SIZE, ' ');
    std::memcpy(header.data(), kText.data(), kText.size());
    return header;
}

} // namespace qb
