// Nothing a save accepts may fail the load that follows it: every value that the
// store side takes for a field shows back as that value.
#include "codecs/codec_errors.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "codecs/statistics.h"
#include "player/field_registry.h"
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
        readStatistics(state, record);
    }
    return state;
}

// Every whole number of a range (a spread of them for the wide statistics ranges), a
// choice's entries, or both flag values.
std::vector<std::string> candidates(const Field& field) {
    if (!field.ranged()) {
        return field.kind == FieldKind::Choice
                   ? std::vector<std::string>(field.choices.begin(), field.choices.end())
                   : std::vector<std::string>{"true", "false"};
    }
    std::vector<std::string> values;
    const int step = field.high - field.low > 2000 ? (field.high - field.low) / 97 : 1;
    for (int value = field.low; value < field.high; value += step) {
        values.push_back(std::to_string(value));
    }
    values.push_back(std::to_string(field.high));
    return values;
}

TEST(ShowBack, EveryValueAFieldStoresShowsBack) {
    test::RecordGenerator generator(13);
    int checked = 0;
    for (const Field& field : fieldRegistry()) {
        if (field.readOnly() || field.key == "name") {
            continue;
        }
        const Record base = generator.player();
        const int format = std::max(field.format, 0);
        for (const std::string& value : candidates(field)) {
            PlayerSheet state = shown(base, format);
            field.set(state, value);
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
