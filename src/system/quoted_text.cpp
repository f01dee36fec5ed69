#include "system/quoted_text.h"

namespace qb {
namespace {

// The length of the UTF-8 sequence at the start of `text`; 0 when it is none.
std::size_t sequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                                                             : 0;
    if (length == 0 || length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

} // namespace

std::string quotedText(std::string_view text, std::size_t limit) {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    std::size_t shown = 0;
    std::size_t at = 0;
    for (; at < text.size() && shown < limit; ++shown) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const std::size_t length = sequenceLength(text.substr(at));
        if (length == 0 || byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
            ++at;
        } else {
            out.append(text.substr(at, length));
            at += length;
        }
    }
    out += '"';
    if (at < text.size()) {
        out.insert(out.size() - 1, "...");
        out += " (cut; " + std::to_string(text.size()) + " bytes in all)";
    }
    return out;
}

} // namespace qb
