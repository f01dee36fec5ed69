#include "cli/commands.h"
#include "codecs/field_keys.h"
#include "player/csv.h"
#include "player/player_object.h"
#include "player/roster_document.h"
#include "roster/roster_file.h"

#include <cstdio>
#include <iostream>

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

void printCsvHeader() {
    std::string line;
    for (const ObjectKey& field : objectKeys()) {
        if (field.key != "errors") {
            line += (line.empty() ? "" : ",") + csvField(field.key);
        }
    }
    std::cout << line << "\r\n";
}

// Flags as 1/0; null as an empty cell.
void printCsvRow(const Json& player) {
    std::string line;
    bool first = true;
    for (const ObjectKey& field : objectKeys()) {
        if (field.key == "errors") {
            continue;
        }
        const Json& value = getDotted(player, field.key);
        const std::string text =
            value.is_boolean() ? (value.get<bool>() ? "1" : "0") : valueText(value);
        line += (first ? "" : ",") + csvField(text);
        first = false;
    }
    std::cout << line << "\r\n";
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
    // Written player by player, so a whole roster is never held as one document.
    if (format == Format::Csv) {
        printCsvHeader();
    } else {
        std::cout << "[";
    }
    bool first = true;
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        if (!all && isEmptySlot(table.record(slot))) {
            continue;
        }
        const Json player = decodePlayer(table.copyRecord(slot), slot);
        if (format == Format::Csv) {
            printCsvRow(player);
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

} // namespace qb::cli
