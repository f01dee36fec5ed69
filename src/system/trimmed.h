#pragma once

#include <string_view>

namespace qb {

// `text` without the leading and trailing characters found in `blanks`. Names and
// paths are trimmed of spaces only: a tab or a line break stays, so that a check
// refuses it rather than it being lost on the way.
constexpr std::string_view trimmed(std::string_view text, std::string_view blanks = " ") {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace qb
