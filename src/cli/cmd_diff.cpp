#include "cli/commands.h"
#include "cli/player_object.h"
#include "codecs/field_keys.h"
#include "codecs/tables.h"
#include "roster/roster_file.h"

#include <iostream>

namespace qb::cli {
namespace {

std::string shown(const Json& value) {
    return value.is_null() ? "-" : valueText(value);
}

} // namespace

int runDiff(const std::string& fileA, const std::string& fileB, Format format) {
    const SlotTable a = RosterFile(fileA).readSlotTable();
    const SlotTable b = RosterFile(fileB).readSlotTable();
    Json slots = Json::array();
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        const Record recordA = a.copyRecord(slot);
        const Record recordB = b.copyRecord(slot);
        if (recordA == recordB) {
            continue;
        }
        const Json playerA = decodePlayer(recordA, slot);
        const Json playerB = decodePlayer(recordB, slot);
        Json fields = Json::array();
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
        Json bytes = Json::array();
        for (const int offset : changedOffsets(recordA, recordB)) {
            if (!isFieldOffset(offset)) {
                bytes.push_back(offset);
            }
        }
        slots.push_back({{"slot", slot},
                         {"nameA", playerA[keys::kName]},
                         {"nameB", playerB[keys::kName]},
                         {"fields", fields},
                         {"uncoveredBytes", bytes}});
    }
    if (format == Format::Json) {
        std::cout << slots.dump(2) << '\n';
    } else {
        for (const Json& s : slots) {
            std::cout << "slot " << s["slot"].get<int>() << " (" << s["nameA"].get<std::string>()
                      << " | " << s["nameB"].get<std::string>() << ")\n";
            for (const Json& f : s["fields"]) {
                std::cout << "  " << f["field"].get<std::string>() << ": " << shown(f["a"])
                          << " -> " << shown(f["b"]) << '\n';
            }
            if (!s["uncoveredBytes"].empty()) {
                std::cout << "  bytes no field covers:";
                for (const Json& offset : s["uncoveredBytes"]) {
                    std::cout << ' ' << offset.get<int>();
                }
                std::cout << '\n';
            }
        }
    }
    return slots.empty() ? 0 : 1;
}

} // namespace qb::cli
