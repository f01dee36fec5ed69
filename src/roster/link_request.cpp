#include "roster/link_request.h"

#include "roster/quoted_text.h"

#include <charconv>

namespace qb {
namespace {

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\n\v\f\r";
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

} // namespace

LinkRequest parseLinkRequest(std::string_view line) {
    const auto bar = line.find('|');
    std::string_view number = trimmed(line.substr(0, bar));
    if (number.starts_with('+')) {
        number.remove_prefix(1);
    }
    int entry = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), entry);
    if (bar == std::string_view::npos || number.empty() || error != std::errc() ||
        end != number.data() + number.size()) {
        throw LinkRequestError("The companion program's request " + quotedText(line) +
                               " does not start with an entry number and \"|\"");
    }
    if (entry < 0) {
        throw LinkRequestError("The companion program asked for entry " + std::to_string(entry) +
                               "; the player list counts its entries from 0");
    }
    return {entry, std::string(line.substr(bar + 1))};
}

} // namespace qb
