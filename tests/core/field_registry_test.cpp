// The field registry names every field once, files it under the group its key names,
// and stores each field's value in its own bits: the codes the game reads are pinned
// here byte by byte, so a list or range changed in the registry cannot agree with
// itself and pass.
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "codecs/statistics.h"
#include "codecs/tables.h"
#include "player/field_groups.h"
#include "player/field_registry.h"
#include "player/shown_player.h"
#include "support/record_generator.h"

#include <gtest/gtest.h>
#include <set>

namespace qb {
namespace {

// `record` as a save stores it after showing it, with `value` put into `field` first;
// nothing when the field or the store refuses the value.
std::optional<Record> stored(const Record& record, const Field& field,
                             const std::optional<std::string>& value) {
    PlayerSheet sheet;
    for (const ShowStep& step : kShowSequence) {
        step.run(record, record, sheet, kCommentaryNameCount);
    }
    if (field.format > 0) {
        sheet.statisticsFormat = field.format;
        showStatistics(sheet, record);
    }
    Record working = record;
    try {
        if (value) {
            field.set(sheet, *value);
        }
        storeSheet(sheet, working, kCommentaryNameCount);
    } catch (const QuillbayError&) {
        return std::nullopt;
    }
    return working;
}

// The selection name of a key's first part: "roles.fieldingHand" is chosen by "roles".
std::string groupOfKey(const std::string& key) {
    const std::string first = key.substr(0, key.find('.'));
    if (first == "favouriteShots" || first == "battingWeaknesses") {
        return "shots";
    }
    return first == key ? "identity" : first;
}

TEST(FieldRegistry, KeysAreUniqueFoundAgainAndChosenByTheirGroup) {
    std::set<std::string> captions;
    for (const Field& field : fieldRegistry()) {
        EXPECT_EQ(findField(field.key), &field) << field.key;
        // A caption names one field of its frame (a statistics format has "Runs" and
        // "Average" in both its batting and bowling frames).
        const std::string frame = field.key.substr(0, field.key.rfind('.') + 1);
        EXPECT_TRUE(field.group == FieldGroup::Statistics ||
                    captions.insert(frame + field.caption).second)
            << field.caption;
        for (const std::string& name : fieldSelectionNames()) {
            if (!name.starts_with("statistics.")) {
                EXPECT_EQ(parseFieldSelection(name).contains(field), name == groupOfKey(field.key))
                    << field.key << " chosen by " << name;
            }
        }
    }
}

// Every value a field takes (each whole number of its range, a spread of the wide
// statistics ranges, each entry of a list, both flag values): stored, it shows back as
// that value, the player still loads (nothing a save accepts may fail the load that
// follows it), and no other field shows anything else (the rates follow their figures).
TEST(FieldRegistry, EveryValueAFieldStoresShowsBackAndChangesNoOtherField) {
    test::RecordGenerator generator(13);
    int checked = 0;
    for (const Field& field : fieldRegistry()) {
        if (field.readOnly()) {
            continue;
        }
        std::vector<std::string> values(field.choices.begin(), field.choices.end());
        if (field.kind == FieldKind::Flag || field.kind == FieldKind::Text) {
            values = field.kind == FieldKind::Flag ? std::vector<std::string>{"true", "false"}
                                                   : std::vector<std::string>{"Quill"};
        }
        const int step = field.high - field.low > 2000 ? (field.high - field.low) / 97 : 1;
        for (int value = field.low; field.ranged() && value < field.high; value += step) {
            values.push_back(std::to_string(value));
        }
        if (field.ranged()) {
            values.push_back(std::to_string(field.high));
        }
        const Record base = *stored(generator.player(), field, std::nullopt); // as shown
        const ShownPlayer before = showEveryField(base);
        for (const std::string& value : values) {
            SCOPED_TRACE(field.key + "=" + value);
            const std::optional<Record> after = stored(base, field, value);
            if (!after) {
                continue; // refused before anything is written
            }
            PlayerSheet expected = before.sheetFor(field);
            field.set(expected, value);
            const ShownPlayer shown = showEveryField(*after);
            EXPECT_TRUE(shown.failures.empty());
            for (const Field& other : fieldRegistry()) {
                if (!other.readOnly()) {
                    EXPECT_EQ(shown.value(other),
                              &other == &field ? field.get(expected) : before.value(other))
                        << other.key;
                }
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 5000);
}

// The codes the game reads, from a record of zeros but for the bytes given: each row
// stores one value and reads the bits of one byte (mask) after it.
TEST(FieldRegistry, StoresTheGamesCodes) {
    struct Row {
        const char* key;
        const char* value;
        int offset; // -1: the value is refused
        int mask = 0xFF;
        int bits = 0;
        std::vector<std::pair<int, std::uint8_t>> before = {};
    };
    const Row rows[] = {
        {"nation", "NZL", 217, 0xFF, 0x01},
        {"commentary", "1015", 2, 0xFF, 0xF7},
        {"commentary", "1015", 3, 0xFF, 0x03},
        {"commentary", "1016", -1},
        {"appearance.hairColour", "Grey", 207, 0xFF, 8},
        {"roles.bowlingStyle", "Left Arm Spin", 108, 0x0F, 2},
        {"roles.bowlingStyle", "Chinaman", 108, 0x0F, 3},
        {"roles.bowlingStyle", "Chinaman", 109, 0x02, 0x02},
        {"roles.bowlingMentality", "Aggresive", 108, 0xF0, 0x10},
        {"roles.fieldingPosition1", "Cover", 109, 0x38, 3 << 3},
        {"roles.fieldingPosition2", "Covers", 110, 0x0F, 1},
        {"roles.fieldingPosition2", "Covers", 109, 0x80, 0x80},
        {"roles.fieldingHand", "Left", 109, 0x05, 0x04},
        {"roles.battingHand", "Left", 109, 0x05, 0x01},
        {"favouriteShots.frontFoot.Sweep", "true", 192, 0xFF, 0x20},
        {"skills.Talisman", "true", 197, 0xFF, 0x80},
        // Bits 0-1 of byte 118 are written 0 beside the Test highest score at bit 2.
        {"statistics.Test.highestScore", "5", 118, 0xFF, 5 << 2, {{118, 0x03}}},
        {"statistics.Test.highestScore", "5", 119, 0xFF, 0, {{118, 0x03}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.key) + "=" + row.value);
        Record record = test::playerRecord("Smith");
        for (const auto& [offset, byte] : row.before) {
            record[static_cast<std::size_t>(offset)] = byte;
        }
        const std::optional<Record> after = stored(record, *findField(row.key), row.value);
        EXPECT_EQ(after.has_value(), row.offset >= 0);
        if (after && row.offset >= 0) {
            EXPECT_EQ((*after)[static_cast<std::size_t>(row.offset)] & row.mask, row.bits);
        }
    }
}

} // namespace
} // namespace qb
