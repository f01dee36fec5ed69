#include "cli/commands.h"
#include "codecs/field_keys.h"
#include "player/csv.h"
#include "player/dump_check.h"
#include "player/player_object.h"
#include "player/roster_document.h"
#include "player/workbook_writer.h"
#include "roster/roster_file.h"

#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>

namespace qb::cli {
namespace {

// Fields grouped as the window's tabs group them: one heading per key prefix.
void printText(const Json& player) {
    std::printf("Slot %s  ID %s  %s\n", valueText(player["slot"]).c_str(),
                valueText(player["id"]).c_str(), valueText(player[keys::kName]).c_str());
    std::string section;
    for (const ObjectKey& field : objectKeys()) {
        if (field.key == "slot" || field.key == "id" || field.key == "errors") {
            continue;
        }
        const auto dot = field.key.rfind('.');
        const std::string prefix = dot == std::string::npos ? "player" : field.key.substr(0, dot);
        const std::string leaf = dot == std::string::npos ? field.key : field.key.substr(dot + 1);
        if (prefix != section) {
            section = prefix;
            std::printf("\n[%s]\n", section.c_str());
        }
        const std::string text = valueText(getDotted(player, field.key));
        std::printf("  %-24s %s\n", leaf.c_str(), text.empty() ? "-" : text.c_str());
    }
    const Json& errors = player["errors"];
    if (!errors.empty()) {
        std::printf("\n[errors]\n");
        for (const Json& error : errors) {
            std::printf("  %s: %s\n", error["field"].get<std::string>().c_str(),
                        error["message"].get<std::string>().c_str());
        }
    }
}

// Every key but the errors, which a CSV leaves out.
std::vector<std::string> csvRow(const std::function<std::string(const ObjectKey&)>& cell) {
    std::vector<std::string> cells;
    for (const ObjectKey& field : objectKeys()) {
        if (field.key != "errors") {
            cells.push_back(cell(field));
        }
    }
    return cells;
}

} // namespace

int runShow(const std::string& file, int slot, Format format) {
    requireSlot(file, slot);
    const RosterDocument document(file);
    const Json player = decodePlayer(document.table().copyRecord(slot), slot);
    if (format == Format::Json) {
        std::cout << player.dump(2) << '\n';
    } else {
        printText(player);
    }
    return 0;
}

int runDump(const std::string& file, bool all, Format format) {
    const RosterDocument document(file);
    const SlotTable& table = document.table();
    // Written player by player, so a whole roster is never held as one document. Each
    // player ends with the hash of its slot as read (kSlotHashKey), which apply checks.
    // CSV starts with a byte order mark, so spreadsheets read it as UTF-8.
    if (format == Format::Csv) {
        std::cout << kUtf8ByteOrderMark;
        std::vector<std::string> header = csvRow([](const ObjectKey& field) { return field.key; });
        header.emplace_back(kSlotHashKey);
        std::cout << csvLine(header);
    } else {
        std::cout << "[";
    }
    bool first = true;
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        if (!all && isEmptySlot(table.record(slot))) {
            continue;
        }
        const Record record = table.copyRecord(slot);
        Json player = decodePlayer(record, slot);
        player[kSlotHashKey] = slotHash(record);
        if (format == Format::Csv) {
            std::vector<std::string> row = csvRow([&player](const ObjectKey& field) {
                return csvText(getDotted(player, field.key));
            });
            row.push_back(slotHash(record));
            std::cout << csvLine(row);
        } else {
            std::cout << (first ? "\n" : ",\n") << player.dump(2);
        }
        first = false;
    }
    if (format != Format::Csv) {
        std::cout << (first ? "]\n" : "\n]\n");
    }
    return 0;
}

int runDumpWorkbook(const std::string& file, bool all, const std::string& out) {
    const RosterDocument document(file);
    const SlotTable& table = document.table();
    WorkbookPlayers players;
    for (const ObjectKey& key : objectKeys()) {
        if (key.key != "errors") {
            players.keys.push_back(&key);
        }
    }
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        if (all || !isEmptySlot(table.record(slot))) {
            players.playerSlots.push_back(slot);
        }
    }
    // Cells are asked for row by row: each player is decoded once.
    auto decoded = std::make_shared<std::pair<int, Json>>(-1, Json());
    players.value = [&table, decoded](int slot, const ObjectKey& key) {
        if (decoded->first != slot) {
            *decoded = {slot, decodePlayer(table.copyRecord(slot), slot)};
        }
        return getDotted(decoded->second, key.key);
    };
    players.hash = [&table](int slot) { return slotHash(table.copyRecord(slot)); };
    writeWorkbook(out, players,
                  {document.path(),
                   document.file().kind() == FileKind::SavedGame ? "saved game" : "roster file",
                   std::string("quillbay-cli ") + QB_VERSION + " (revision " + QB_REVISION + ")"});
    std::cout << "Wrote " << players.playerSlots.size() << " players to " << out << '\n';
    return 0;
}

} // namespace qb::cli
