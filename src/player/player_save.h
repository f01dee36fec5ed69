#pragma once

#include "codecs/player_editor.h"
#include "roster/roster_file.h"
#include "saving/safe_write.h"
#include "system/errors.h"

#include <string>
#include <vector>

namespace qb {

// What saving one player did: the record offsets written, and what the user should know
// besides (a backup that failed).
struct PlayerSaved {
    std::vector<int> written;
    std::vector<std::string> notices;
};

// Stores the editor's player (PlayerEditor::store: refused unless it was loaded whole from
// `roster`), writes the bytes that differ from the loaded record under the save's journal
// and loads the slot again, so the editor shows what the file now holds.
PlayerSaved savePlayer(PlayerEditor& editor, const RosterFile& roster,
                       const SafetyOptions& safety = {});

// The text of a failed save: a failure of the file adds that another program may hold it.
std::string saveFailureReport(const QuillbayError& error);

} // namespace qb
