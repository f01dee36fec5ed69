// Random edit-and-save cycles on one roster, through the editor's core path and the
// command-line tool's path in turn, each checked against a model of the file: only the
// edited field changes. FieldRegistry.EveryValueAFieldStoresShowsBackAndChangesNoOtherField checks
// every field once; this mixes them over many saves of one file (QB_SOAK_CYCLES for more).
#include "cli/edits.h"
#include "codecs/demo_roster.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "codecs/tables.h"
#include "player/demo_files.h"
#include "player/player_object.h"
#include "player/player_save.h"
#include "support/roster_maker.h"

#include <gtest/gtest.h>
#include <random>

namespace qb {
namespace {

std::string randomValue(const Field& field, std::mt19937& random) {
    const auto below = [&random](int bound) {
        return static_cast<int>(random() % static_cast<unsigned>(bound));
    };
    if (field.key == "name") {
        std::string name(1, static_cast<char>('A' + below(26)));
        for (int i = below(10); i > 0; --i) {
            name += static_cast<char>('a' + below(26));
        }
        return name;
    }
    if (field.key == "commentary") {
        return std::to_string(1 + below(1015));
    }
    if (field.kind == FieldKind::Choice) {
        return std::string(field.choices[static_cast<std::size_t>(below(field.high + 1))]);
    }
    if (field.kind == FieldKind::Flag) {
        return below(2) == 0 ? "true" : "false";
    }
    return std::to_string(field.low + below(std::min(field.high, 999) - field.low + 1));
}

TEST(Soak, RandomEditsChangeOnlyTheirFields) {
    const test::TempDir dir;
    writeDemoFiles(dir.file("demo"));
    const std::string path = dir.file("demo/demo.sav");
    const RosterFile roster(path);
    SafetyOptions safety;
    safety.backups = false;
    safety.dataFolder = dir.file("data");
    std::vector<const Field*> editable;
    for (const Field& field : fieldRegistry()) {
        if (!field.readOnly()) {
            editable.push_back(&field);
        }
    }
    std::mt19937 random(2004);
    std::vector<std::uint8_t> model = test::readFileBytes(path);
    const std::int64_t base = roster.slotOffset(0);
    const char* cycles = std::getenv("QB_SOAK_CYCLES");
    for (int cycle = 0; cycle < (cycles != nullptr ? std::atoi(cycles) : 500); ++cycle) {
        const int slot = static_cast<int>(random() % kDemoPlayerCount);
        const Field& field = *editable[random() % editable.size()];
        const std::string value = randomValue(field, random);
        const Record before = roster.readSlot(slot);
        const Json shownBefore = decodePlayer(before, slot);
        const bool throughEditor = cycle % 2 == 0 && field.format <= 0;
        if (throughEditor) {
            PlayerEditor editor(kCommentaryNameCount);
            editor.load(roster, slot, roster.readSlot(slot));
            field.set(editor.sheet(), value);
            savePlayer(editor, roster, safety);
        } else {
            RosterEdits edits;
            edits[slot] = {cli::checkedEdit(field.key, value, "")};
            RosterDocument document(path);
            cli::applyEdits(document, cli::editsOf(edits), {.safety = safety});
        }
        const std::vector<std::uint8_t> now = test::readFileBytes(path);
        ASSERT_EQ(now.size(), model.size()) << "cycle " << cycle;
        const auto slotStart = static_cast<std::size_t>(base + std::int64_t{SLOT_SIZE} * slot);
        for (std::size_t i = 0; i < now.size(); ++i) {
            const bool inSlot = i >= slotStart && i < slotStart + SLOT_SIZE;
            if (!inSlot || !isFieldOffset(static_cast<int>(i - slotStart))) {
                ASSERT_EQ(now[i], model[i])
                    << "cycle " << cycle << " byte " << i << " editing " << field.key;
            }
        }
        const Json shownAfter = decodePlayer(roster.readSlot(slot), slot);
        const std::string format =
            field.key.starts_with("statistics.") ? field.key.substr(0, field.key.rfind('.')) : "";
        for (const ObjectKey& other : objectKeys()) {
            const bool derivedRate = !format.empty() && (other.key == format + ".strikeRate" ||
                                                         other.key == format + ".economyRate");
            // The commentary's name follows its number.
            const bool derivedName = field.key == "commentary" && other.key == "commentaryName";
            if (other.key == field.key || other.key == "errors" || derivedRate || derivedName) {
                continue;
            }
            ASSERT_EQ(getDotted(shownAfter, other.key), getDotted(shownBefore, other.key))
                << "cycle " << cycle << ": editing " << field.key << " = " << value << " changed "
                << other.key;
        }
        model = now;
    }
}

} // namespace
} // namespace qb
