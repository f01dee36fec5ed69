#include "shell/grid/grid_csv.h"

#include "player/csv.h"
#include "player/player_object.h"
#include "player/workbook_writer.h"
#include "shell/grid/roster_grid_model.h"

namespace qb {
namespace {

// The keys of the exported columns: slot and ID, then the fields of `columns`.
std::vector<const ObjectKey*> exportedKeys(const RosterGridModel& model,
                                           const std::vector<int>& columns) {
    std::vector<const ObjectKey*> keys = {findObjectKey("slot"), findObjectKey("id")};
    for (const int column : columns) {
        if (const Field* field = model.field(column)) {
            keys.push_back(findObjectKey(field->key));
        }
    }
    return keys;
}

std::vector<int> namedSlots(const RosterGridModel& model, const std::vector<int>& players) {
    std::vector<int> named;
    for (const int slot : players) {
        if (!model.isEmptySlot(slot)) {
            named.push_back(slot);
        }
    }
    return named;
}

Json shownValue(const RosterGridModel& model, int slot, const ObjectKey& key) {
    const Record record = model.document().table().copyRecord(slot);
    return playerValue(record, slot, model.shown(slot), key);
}

} // namespace

std::string gridCsv(const RosterGridModel& model, const std::vector<int>& players,
                    const std::vector<int>& columns) {
    const std::vector<const ObjectKey*> keys = exportedKeys(model, columns);
    std::vector<std::string> cells;
    for (const ObjectKey* key : keys) {
        cells.push_back(key->key);
    }
    // A byte order mark first, so spreadsheets read the names as UTF-8.
    std::string text = std::string(kUtf8ByteOrderMark) + csvLine(cells);
    for (const int slot : namedSlots(model, players)) {
        cells.clear();
        for (const ObjectKey* key : keys) {
            cells.push_back(csvText(shownValue(model, slot, *key)));
        }
        text += csvLine(cells);
    }
    return text;
}

void writeGridWorkbook(const RosterGridModel& model, const std::vector<int>& players,
                       const std::vector<int>& columns, const std::string& path) {
    WorkbookPlayers workbook;
    workbook.keys = exportedKeys(model, columns);
    workbook.playerSlots = namedSlots(model, players);
    workbook.value = [&model](int slot, const ObjectKey& key) {
        return shownValue(model, slot, key);
    };
    const RosterDocument& document = model.document();
    writeWorkbook(path, workbook,
                  {document.path(),
                   document.file().kind() == FileKind::SavedGame ? "saved game" : "roster file",
                   "Quillbay (the grid's shown players, with unsaved edits)"});
}

} // namespace qb
