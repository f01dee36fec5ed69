#pragma once

#include "codecs/identity.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// The commentary-name list: 1,015 names, one a line, CR LF between lines and no line
// break after the last; each name 2 to 15 letters, spaces and hyphens with at most one
// apostrophe. Line n belongs to commentary number n; kCommentaryNameCount counts them.

// The names of a list in that form, or nothing when the text is not one. A list
// written on Linux (LF line breaks, a final line break) is accepted too.
std::optional<std::vector<std::string>> parseCommentaryNames(std::string_view text);

// The list that ships with the program, as its text and its names.
std::string_view builtInCommentaryText();
const std::vector<std::string>& builtInCommentaryNames();

} // namespace qb
