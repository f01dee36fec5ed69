#pragma once

#include "player/player_object.h"

#include <string>
#include <string_view>

namespace qb {

// Reads a JSON document of edits in one pass, in time linear in its size. Refused, with
// EditError naming `path`, the line and the column: text that is not JSON (a trailing
// comma, a byte that is not UTF-8, a number too large for a double such as 1e400),
// containers nested more than `deepest` levels (refused while reading, so nothing
// recursive meets a deep document), and a key given twice in one object (JSON would
// keep only one of the two values).
Json readJsonEdits(std::string_view text, const std::string& path, int deepest);

} // namespace qb
