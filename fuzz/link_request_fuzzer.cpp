// libFuzzer target: a request line of the companion program. Parsing must either name
// an entry of 0 or more with the path after the first '|', or refuse with a message that
// says what the companion program sent wrong.
#include "link/link_request.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    try {
        const qb::LinkRequest request = qb::parseLinkRequest(line);
        if (request.entry < 0 || request.path != line.substr(line.find('|') + 1)) {
            std::abort();
        }
    } catch (const qb::LinkRequestError& error) {
        if (!error.description().starts_with("The companion program")) {
            std::abort();
        }
    }
    return 0;
}
