#pragma once

#include "player/shown_player.h"

#include <QString>
#include <string>
#include <vector>

namespace qb {

// What the window says of a player it cannot show, in its question and the grid's
// tooltip alike: each field's failure with its caption, key and the value the file
// holds, then the file and slot, e.g.
//   Invalid property value: Face (appearance.face), stored value 30
//   File: /games/roster.pak, slot 1 (Bad)
QString unshowablePlayerText(const std::vector<FieldFailure>& failures, const std::string& path,
                             int slot, const QString& name);

} // namespace qb
