#include "player/commentary_names.h"

#include <algorithm>

namespace qb {
namespace {

bool isCommentaryName(std::string_view name) {
    const bool letters = std::ranges::all_of(name, [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '\'' || c == ' ' ||
               c == '-';
    });
    return letters && name.size() >= 2 && name.size() <= 15 && std::ranges::count(name, '\'') <= 1;
}

} // namespace

std::optional<std::vector<std::string>> parseCommentaryNames(std::string_view text) {
    if (text.ends_with("\r\n")) {
        text.remove_suffix(2);
    } else if (text.ends_with('\n')) {
        text.remove_suffix(1);
    }
    std::vector<std::string> names;
    while (true) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!isCommentaryName(line) || names.size() == kCommentaryNameCount) {
            return std::nullopt;
        }
        names.emplace_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    if (names.size() != kCommentaryNameCount) {
        return std::nullopt;
    }
    return names;
}

const std::vector<std::string>& builtInCommentaryNames() {
    static const std::vector<std::string> names =
        parseCommentaryNames(builtInCommentaryText()).value_or(std::vector<std::string>{});
    return names;
}

} // namespace qb
