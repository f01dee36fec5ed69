#pragma once

#include "player/player_object.h"
#include "system/errors.h"

#include <functional>
#include <string>
#include <vector>

namespace qb {

// A workbook that could not be written; names the file.
class WorkbookError : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

// What a workbook of players holds: its columns (keys of the player object, "slot" and
// "id" first), the slots of its rows, each cell's value, and, when `hash` is given, each
// slot's hash as the last column (a dump's; a view with unsaved edits has none).
struct WorkbookPlayers {
    std::vector<const ObjectKey*> keys;
    std::vector<int> playerSlots;
    std::function<Json(int slot, const ObjectKey& key)> value;
    std::function<std::string(int slot)> hash;
};

// Who made the workbook of which roster, for its document properties.
struct WorkbookOrigin {
    std::string rosterPath;
    std::string rosterKind; // "roster file" or "saved game"
    std::string madeBy;     // "quillbay-cli 2.1 (abc1234)"
};

// Writes the players as an XLSX workbook that Excel and LibreOffice open, made to be
// edited and applied back:
// - sheet "Players": the grid's column titles in row 1, the keys (what apply reads) in
//   row 2, a player a row; the titles, keys, slot, ID and name frozen; each field group's
//   columns after its first in an outline that collapses; numbers as numbers, flags as
//   TRUE/FALSE, names, texts and hashes as text;
// - data validation on every editable column: a choice's entries as a drop-down list
//   (from sheet "Lists"), numbers within the field's range with an input message naming
//   it, flags as TRUE/FALSE, names at most 15 characters;
// - the read-only columns shaded and locked; the sheets protected without a password;
// - document properties: the roster, its kind, the tool, when it was written.
// The file appears whole or not at all (written beside it, then renamed over it).
void writeWorkbook(const std::string& path, const WorkbookPlayers& players,
                   const WorkbookOrigin& origin);

} // namespace qb
