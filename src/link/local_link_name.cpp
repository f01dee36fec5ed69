#include "link/local_link_name.h"

#include <cstdlib>

namespace qb {

std::string linkBaseName(std::string_view topic, const std::string& user) {
    std::string name = "quillbay-";
    for (const char c : topic) {
        name += c == ' ' ? '_' : c == '|' ? '.' : c;
    }
    name += '-' + user;
    // Tests and side-by-side installations keep their links apart with a namespace.
    if (const char* space = std::getenv("QUILLBAY_LINK_NAMESPACE"); space && *space) {
        name += '-';
        name += space;
    }
    return name;
}

} // namespace qb
