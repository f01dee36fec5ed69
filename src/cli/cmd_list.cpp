#include "cli/commands.h"
#include "codecs/field_keys.h"
#include "codecs/tables.h"
#include "player/csv.h"
#include "player/player_object.h"
#include "player/roster_document.h"
#include "roster/player_lists.h"

#include <cstdio>
#include <iostream>

namespace qb::cli {

int runList(const std::string& file, bool all, Format format) {
    const RosterDocument document(file);
    const SlotTable& table = document.table();
    const RosterIndex& index = document.index();
    const std::size_t count = all ? index.slotEntries.size() : index.playerCount;
    Json rows = Json::array();
    if (format == Format::Csv) {
        std::cout << "slot,id,name,nation\r\n";
    } else if (format == Format::Text) {
        std::printf("%4s  %5s  %-6s  %s\n", "slot", "id", keys::kNation, keys::kName);
    }
    for (std::size_t slot = 0; slot < count; ++slot) {
        const SlotEntry& entry = index.slotEntries[slot];
        const std::string name = entry.name();
        const int id = read16(table.record(static_cast<int>(slot)), OFFSET_ID);
        const std::string nation =
            entry.nationIcon == 0
                ? ""
                : std::string(kNationCodes[static_cast<std::size_t>(entry.nationIcon - 1)]);
        switch (format) {
        case Format::Json:
            rows.push_back({{"slot", slot},
                            {"id", id},
                            {keys::kName, name},
                            {keys::kNation, nation.empty() ? Json(nullptr) : Json(nation)}});
            break;
        case Format::Csv:
            std::cout << slot << ',' << id << ',' << csvField(name) << ',' << nation << "\r\n";
            break;
        case Format::Text:
            std::printf("%4zu  %5d  %-6s  %s\n", slot, id, nation.empty() ? "-" : nation.c_str(),
                        name.c_str());
            break;
        }
    }
    if (format == Format::Json) {
        std::cout << rows.dump(2) << '\n';
    }
    return 0;
}

} // namespace qb::cli
