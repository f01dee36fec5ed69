#include "shell/grid/grid_csv.h"

#include "player/csv.h"
#include "player/player_object.h"
#include "shell/grid/roster_grid_model.h"

namespace qb {

std::string gridCsv(const RosterGridModel& model, const std::vector<int>& players,
                    const std::vector<int>& columns) {
    std::vector<const ObjectKey*> keys = {findObjectKey("slot"), findObjectKey("id")};
    for (const int column : columns) {
        if (const Field* field = model.field(column)) {
            keys.push_back(findObjectKey(field->key));
        }
    }
    std::vector<std::string> cells;
    for (const ObjectKey* key : keys) {
        cells.push_back(key->key);
    }
    // A byte order mark first, so spreadsheets read the names as UTF-8.
    std::string text = std::string(kUtf8ByteOrderMark) + csvLine(cells);
    for (const int slot : players) {
        if (model.isEmptySlot(slot)) {
            continue;
        }
        const Record record = model.document().table().copyRecord(slot);
        cells.clear();
        for (const ObjectKey* key : keys) {
            cells.push_back(csvText(playerValue(record, slot, model.shown(slot), *key)));
        }
        text += csvLine(cells);
    }
    return text;
}

} // namespace qb
