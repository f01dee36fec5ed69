#pragma once

#include "system/errors.h"

#include <string>
#include <string_view>

namespace qb {

// A request of the companion program: "INDEX|PATH", show entry INDEX of the player list
// of the roster at PATH.
struct LinkRequest {
    int entry;
    std::string path;
};

// A request line that names no entry; the text is the message the user sees.
class LinkRequestError : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

// The entry is a decimal number (a leading '+' allowed) with the white space around it
// ignored; the path is everything after the first '|', as it is. A line without '|' or
// without a number before it, or a negative number, is refused.
LinkRequest parseLinkRequest(std::string_view line);

} // namespace qb
