// Nothing a save accepts may fail the load that follows it: every value that the
// store side takes for a field shows back as that value.
#include "cli/cli_errors.h"
#include "cli/player_fields.h"
#include "codecs/codec_errors.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "codecs/statistics.h"
#include "codecs/tables.h"
#include "support/record_generator.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

// The editors after loading `record` and switching the statistics to `format`.
PlayerSheet shown(const Record& record, int format) {
    PlayerSheet state;
    for (const ShowStep& step : kShowSequence) {
        step.run(record, record, state, kCommentaryNameCount);
    }
    if (format > 0) {
        state.statisticsFormat = format;
        ShowStatistics(state, record);
    }
    return state;
}

// Every whole number of a range, or a spread of them for the wide statistics ranges.
std::vector<std::string> candidates(const cli::PlayerField& field) {
    std::vector<std::string> values;
    if (field.range) {
        const auto [low, high] = *field.range;
        const int step = high - low > 2000 ? (high - low) / 97 : 1;
        for (int value = low; value < high; value += step) {
            values.push_back(std::to_string(value));
        }
        values.push_back(std::to_string(high));
        return values;
    }
    values = {"true", "false"};
    // Choice fields refuse every text but their own entries; trying all lists' texts
    // reaches every entry of each.
    for (const auto list : {std::span<const std::string_view>(kNationCodes),
                            std::span<const std::string_view>(kHairColours),
                            std::span<const std::string_view>(kFacialHair),
                            std::span<const std::string_view>(kBattingPositions),
                            std::span<const std::string_view>(kBattingStyles),
                            std::span<const std::string_view>(kHands),
                            std::span<const std::string_view>(kBowlingStyles),
                            std::span<const std::string_view>(kBowlingMentalities),
                            std::span<const std::string_view>(kFieldingPositions1),
                            std::span<const std::string_view>(kFieldingPositions2)}) {
        values.insert(values.end(), list.begin(), list.end());
    }
    return values;
}

TEST(ShowBack, EveryValueAFieldStoresShowsBack) {
    test::RecordGenerator generator(13);
    int checked = 0;
    for (const cli::PlayerField& field : cli::playerFields()) {
        if (field.readOnly() || field.key == "name") {
            continue;
        }
        const Record base = generator.player();
        const int format = std::max(field.format, 0);
        for (const std::string& value : candidates(field)) {
            PlayerSheet state = shown(base, format);
            try {
                field.set(state, value);
            } catch (const cli::UsageError&) {
                continue; // not a value of this field
            }
            Record working = base;
            try {
                StoreSequence(state, working, kCommentaryNameCount);
            } catch (const StoreError&) {
                continue; // refused before anything is written
            }
            PlayerSheet again;
            ASSERT_NO_THROW(again = shown(working, format)) << field.key << "=" << value;
            EXPECT_EQ(field.get(again), field.get(state)) << field.key << "=" << value;
            ++checked;
        }
    }
    EXPECT_GT(checked, 5000);
}

} // namespace
} // namespace qb
