#include "cli/commands.h"
#include "codecs/field_keys.h"
#include "codecs/tables.h"
#include "player/patch.h"
#include "player/player_compare.h"
#include "player/player_object.h"
#include "player/roster_document.h"
#include "roster/roster_file.h"

#include <iostream>

namespace qb::cli {
namespace {

std::string shown(const Json& value) {
    return value.is_null() ? "-" : valueText(value);
}

// The differences of two slots: both names, the fields that differ and the record
// offsets that differ where no field covers them. Either slot may be missing.
Json differences(const SlotTable& a, std::optional<int> slotA, const SlotTable& b,
                 std::optional<int> slotB) {
    const Record recordA = slotA ? a.copyRecord(*slotA) : Record{};
    const Record recordB = slotB ? b.copyRecord(*slotB) : Record{};
    const Json playerA = slotA ? decodePlayer(recordA, *slotA) : Json();
    const Json playerB = slotB ? decodePlayer(recordB, *slotB) : Json();
    Json fields = Json::array();
    Json bytes = Json::array();
    if (slotA && slotB) {
        for (const ObjectKey& field : objectKeys()) {
            if (field.key == "slot") {
                continue;
            }
            const Json& valueA = getDotted(playerA, field.key);
            const Json& valueB = getDotted(playerB, field.key);
            if (valueA != valueB) {
                fields.push_back({{"field", field.key}, {"a", valueA}, {"b", valueB}});
            }
        }
        for (const int offset : changedOffsets(recordA, recordB)) {
            if (!isFieldOffset(offset)) {
                bytes.push_back(offset);
            }
        }
    }
    return {{"nameA", slotA ? playerA[keys::kName] : Json()},
            {"nameB", slotB ? playerB[keys::kName] : Json()},
            {"fields", fields},
            {"uncoveredBytes", bytes}};
}

// `head` ("slot", or "id" and both slots) followed by the differences.
Json entry(Json head, const Json& differences) {
    for (const auto& [key, value] : differences.items()) {
        head[key] = value;
    }
    return head;
}

Json slotDifferences(const SlotTable& a, const SlotTable& b) {
    Json slots = Json::array();
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        if (a.copyRecord(slot) != b.copyRecord(slot)) {
            slots.push_back(entry({{"slot", slot}}, differences(a, slot, b, slot)));
        }
    }
    return slots;
}

// The players matched by ID whose records differ, then those of either file alone.
Json idDifferences(const RosterDocument& a, const RosterDocument& b) {
    const PlayerMatching matching = matchPlayers(a, b, MatchBy::Id);
    Json players = Json::array();
    const auto add = [&](std::optional<int> slotA, std::optional<int> slotB) {
        const int id = slotA ? playerId(a, *slotA) : playerId(b, *slotB);
        const auto slotJson = [](std::optional<int> slot) { return slot ? Json(*slot) : Json(); };
        Json head = {{"id", id}, {"slotA", slotJson(slotA)}, {"slotB", slotJson(slotB)}};
        // A player of one file alone because the other (or its own) holds the ID twice.
        if (!slotA || !slotB) {
            if (auto shared = sharedIdText(b, id) ? sharedIdText(b, id) : sharedIdText(a, id)) {
                head["unpairedBecause"] = *shared;
            }
        }
        players.push_back(entry(std::move(head), differences(a.table(), slotA, b.table(), slotB)));
    };
    for (const PlayerPair& pair : matching.pairs) {
        if (a.table().copyRecord(pair.left) != b.table().copyRecord(pair.right)) {
            add(pair.left, pair.right);
        }
    }
    for (const int slot : matching.leftOnly) {
        add(slot, std::nullopt);
    }
    for (const int slot : matching.rightOnly) {
        add(std::nullopt, slot);
    }
    return players;
}

void printText(const Json& entries, const std::string& fileA, const std::string& fileB) {
    for (const Json& e : entries) {
        if (e.contains("slot")) {
            std::cout << "slot " << e["slot"].get<int>() << " (" << e["nameA"].get<std::string>()
                      << " | " << e["nameB"].get<std::string>() << ")\n";
        } else if (e["slotB"].is_null() || e["slotA"].is_null()) {
            const bool inA = e["slotB"].is_null();
            std::cout << "id " << e["id"].get<int>() << ": slot "
                      << e[inA ? "slotA" : "slotB"].get<int>() << " ("
                      << e[inA ? "nameA" : "nameB"].get<std::string>() << ") "
                      << (e.contains("unpairedBecause")
                              ? "unpaired: " + e["unpairedBecause"].get<std::string>()
                              : "only in " + (inA ? fileA : fileB))
                      << '\n';
        } else {
            std::cout << "id " << e["id"].get<int>() << ": slot " << e["slotA"].get<int>()
                      << " | slot " << e["slotB"].get<int>() << " ("
                      << e["nameA"].get<std::string>() << " | " << e["nameB"].get<std::string>()
                      << ")\n";
        }
        for (const Json& f : e["fields"]) {
            std::cout << "  " << f["field"].get<std::string>() << ": " << shown(f["a"]) << " -> "
                      << shown(f["b"]) << '\n';
        }
        if (!e["uncoveredBytes"].empty()) {
            std::cout << "  bytes no field covers:";
            for (const Json& offset : e["uncoveredBytes"]) {
                std::cout << ' ' << offset.get<int>();
            }
            std::cout << '\n';
        }
    }
}

} // namespace

namespace {

// The differences of a matched pair that a patch has no value for: fields B cannot show
// (a face of 30 shows as nothing) and bytes no field covers.
std::vector<std::string> uncarriedDifferences(RosterDocument& a, int slotA, RosterDocument& b,
                                              int slotB) {
    std::vector<std::string> texts;
    const ShownPlayer shown = b.shownWithEdits(slotB);
    for (const Field* field : differingFields(a, slotA, b, slotB, {})) {
        if (toJson(shown.value(*field)).is_null()) {
            texts.push_back(field->key + " differs, but the editor cannot show its value here");
        }
    }
    std::string bytes;
    for (const int offset :
         changedOffsets(a.table().copyRecord(slotA), b.table().copyRecord(slotB))) {
        if (!isFieldOffset(offset)) {
            bytes += " " + std::to_string(offset);
        }
    }
    if (!bytes.empty()) {
        texts.push_back("bytes no field covers differ (record offsets" + bytes + ")");
    }
    return texts;
}

} // namespace

// A patch changes fields of players both files have: a player of one file only (an
// empty slot in the other, or an ID it lacks) cannot travel in it, so it is named on
// stderr and the rosters count as differing.
int runPatch(const std::string& fileA, const std::string& fileB, MatchBy match) {
    RosterDocument a(fileA);
    RosterDocument b(fileB);
    PlayerMatching matching = matchPlayers(a, b, match);
    const auto unpaired = [match](const RosterDocument& in, int slot, const RosterDocument& other,
                                  const char* consequence) {
        const int id = playerId(in, slot);
        const std::optional<std::string> shared =
            match == MatchBy::Id
                ? (sharedIdText(other, id) ? sharedIdText(other, id) : sharedIdText(in, id))
                : std::nullopt;
        std::cerr << "quillbay-cli: slot " << slot << " of " << in.path() << " (ID " << id << "): "
                  << (shared ? *shared + ", so no one player has it"
                      : match == MatchBy::Id
                          ? "no player with ID " + std::to_string(id) + " in " + other.path()
                          : "the slot is empty in " + other.path())
                  << "; " << consequence << '\n';
    };
    for (const int slot : matching.leftOnly) {
        unpaired(a, slot, b, "a patch cannot remove a player");
    }
    for (const int slot : matching.rightOnly) {
        unpaired(b, slot, a, "a patch cannot add a player (use export and import)");
    }
    std::erase_if(matching.pairs, [&](const PlayerPair& pair) {
        return a.table().copyRecord(pair.left) == b.table().copyRecord(pair.right);
    });
    bool uncarried = false;
    for (const PlayerPair& pair : matching.pairs) {
        for (const std::string& text : uncarriedDifferences(a, pair.left, b, pair.right)) {
            std::cerr << "quillbay-cli: slot " << pair.right << " of " << b.path() << ": " << text
                      << "; a patch cannot carry it\n";
            uncarried = true;
        }
    }
    const std::string patch = writePatch(a, b, matching.pairs, match);
    std::cout << patch;
    const bool unpairedPlayers = !matching.leftOnly.empty() || !matching.rightOnly.empty();
    return patch == "[]\n" && !unpairedPlayers && !uncarried ? 0 : 1;
}

int runDiff(const std::string& fileA, const std::string& fileB, Format format, MatchBy match) {
    const RosterDocument documentA(fileA);
    const RosterDocument documentB(fileB);
    const Json entries = match == MatchBy::Id
                             ? idDifferences(documentA, documentB)
                             : slotDifferences(documentA.table(), documentB.table());
    if (format == Format::Json) {
        std::cout << entries.dump(2) << '\n';
    } else {
        printText(entries, fileA, fileB);
    }
    return entries.empty() ? 0 : 1;
}

} // namespace qb::cli
