// Thousands of random edit-and-save cycles on one roster, through the editor's core
// path and the command-line tool's path in turn, each checked against a model of the
// file: only the edited field changes.
#include "cli/edits.h"
#include "cli/player_object.h"
#include "codecs/demo_roster.h"
#include "codecs/identity.h"
#include "codecs/player_editor.h"
#include "codecs/tables.h"
#include "support/roster_maker.h"

#include <gtest/gtest.h>
#include <random>

namespace qb {
namespace {

int cycles() {
    const char* text = std::getenv("QB_SOAK_CYCLES");
    return text != nullptr ? std::atoi(text) : 5000;
}

// A value the field takes, chosen at random.
std::string randomValue(const cli::PlayerField& field, std::mt19937& random) {
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
    if (field.range) {
        const int high = std::min(field.range->second, 999);
        return std::to_string(field.range->first + below(high - field.range->first + 1));
    }
    // A choice list or a flag: try texts until the field takes one.
    for (const std::string_view entry : {"true", "false"}) {
        try {
            PlayerSheet scratch;
            field.set(scratch, entry);
            return below(2) == 0 ? "true" : "false";
        } catch (const std::exception&) {
            break;
        }
    }
    const auto lists = std::array<std::span<const std::string_view>, 9>{
        kNationCodes, kHairColours,   kFacialHair,         kBattingPositions,  kBattingStyles,
        kHands,       kBowlingStyles, kBowlingMentalities, kFieldingPositions2};
    for (int attempt = 0; attempt < 200; ++attempt) {
        const auto& list = lists[static_cast<std::size_t>(below(9))];
        const std::string value(
            list[static_cast<std::size_t>(below(static_cast<int>(list.size())))]);
        try {
            PlayerSheet scratch;
            field.set(scratch, value);
            return value;
        } catch (const std::exception&) {
        }
    }
    return {};
}

TEST(Soak, RandomEditsChangeOnlyTheirFields) {
    const test::TempDir dir;
    writeDemoFiles(dir.file("demo"));
    const std::string path = dir.file("demo/demo.sav");
    const RosterFile roster(path);
    SafetyOptions safety;
    safety.backups = false;
    safety.dataFolder = dir.file("data");
    std::vector<const cli::PlayerField*> editable;
    for (const cli::PlayerField& field : cli::playerFields()) {
        if (!field.readOnly()) {
            editable.push_back(&field);
        }
    }
    std::mt19937 random(2004);
    std::vector<std::uint8_t> model = test::readFileBytes(path);
    const std::int64_t base = roster.slotOffset(0);
    const int total = cycles();
    for (int cycle = 0; cycle < total; ++cycle) {
        const int slot = static_cast<int>(random() % kDemoPlayerCount);
        const cli::PlayerField& field = *editable[random() % editable.size()];
        const std::string value = randomValue(field, random);
        if (value.empty()) {
            continue;
        }
        const Record before = roster.readSlot(slot);
        const cli::Json shownBefore = cli::decodePlayer(before, slot);
        const bool throughEditor = cycle % 2 == 0 && field.format <= 0;
        if (throughEditor) {
            PlayerEditor editor(kCommentaryNameCount);
            editor.load(roster, slot);
            field.set(editor.state(), value);
            editor.save(roster, false, safety);
        } else {
            cli::RosterEdits edits;
            edits[slot] = {cli::checkedEdit(field.key, value, "")};
            cli::applyEdits(roster, edits, {.safety = safety});
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
        const cli::Json shownAfter = cli::decodePlayer(roster.readSlot(slot), slot);
        const std::string format =
            field.key.starts_with("statistics.") ? field.key.substr(0, field.key.rfind('.')) : "";
        for (const cli::PlayerField& other : cli::playerFields()) {
            const bool derivedRate = !format.empty() && (other.key == format + ".strikeRate" ||
                                                         other.key == format + ".economyRate");
            if (other.key == field.key || other.key == "errors" || derivedRate) {
                continue;
            }
            ASSERT_EQ(cli::getDotted(shownAfter, other.key), cli::getDotted(shownBefore, other.key))
                << "cycle " << cycle << ": editing " << field.key << " = " << value << " changed "
                << other.key;
        }
        model = now;
    }
}

} // namespace
} // namespace qb
