#include "link/link_request.h"

#include "system/quoted_text.h"
#include "system/trimmed.h"

#include <charconv>

namespace qb {
LinkRequest parseLinkRequest(std::string_view line) {
    const auto bar = line.find('|');
    std::string_view number = trimmed(line.substr(0, bar), " \t\n\v\f\r");
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
