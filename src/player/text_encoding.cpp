#include "player/text_encoding.h"

#include "roster/codepage.h"

#include <algorithm>
#include <array>

namespace qb {

std::string_view encodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return "UTF-8";
    case TextEncoding::Utf16LittleEndian:
        return "UTF-16 LE";
    case TextEncoding::Utf16BigEndian:
        return "UTF-16 BE";
    case TextEncoding::Windows1252:
        return "Windows-1252";
    }
    return "";
}

ByteOrderMark byteOrderMark(std::string_view bytes) {
    struct Mark {
        std::string_view bytes;
        TextEncoding encoding;
    };
    static constexpr std::array<Mark, 3> kMarks = {{
        {"\xEF\xBB\xBF", TextEncoding::Utf8},
        {"\xFF\xFE", TextEncoding::Utf16LittleEndian},
        {"\xFE\xFF", TextEncoding::Utf16BigEndian},
    }};
    for (const Mark& mark : kMarks) {
        if (bytes.starts_with(mark.bytes)) {
            return {mark.encoding, mark.bytes.size()};
        }
    }
    return {};
}

std::optional<std::string> utf16ToUtf8(std::string_view units, bool bigEndian, std::size_t& badAt) {
    const auto unitAt = [&](std::size_t at) -> char32_t {
        const auto first = static_cast<unsigned char>(units[at]);
        const auto second = static_cast<unsigned char>(units[at + 1]);
        return bigEndian ? char32_t(first << 8 | second) : char32_t(second << 8 | first);
    };
    std::string out;
    out.reserve(units.size() / 2);
    for (std::size_t at = 0; at < units.size(); at += 2) {
        if (at + 1 >= units.size()) {
            badAt = at;
            return std::nullopt;
        }
        char32_t ch = unitAt(at);
        if (ch >= 0xDC00 && ch <= 0xDFFF) {
            badAt = at;
            return std::nullopt;
        }
        if (ch >= 0xD800 && ch <= 0xDBFF) {
            const char32_t low = at + 3 < units.size() ? unitAt(at + 2) : 0;
            if (low < 0xDC00 || low > 0xDFFF) {
                badAt = at;
                return std::nullopt;
            }
            ch = 0x10000 + ((ch - 0xD800) << 10) + (low - 0xDC00);
            at += 2;
        }
        out += charToUtf8(ch);
    }
    return out;
}

bool hasUtf8Shape(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char next = nextUtf8Char(text, at);
        if (next.length > 1) {
            return true;
        }
        ++at;
    }
    return false;
}

std::optional<std::string> misreadUtf8(std::string_view text) {
    std::string bytes;
    for (const char32_t ch : utf8ToChars(text)) {
        const std::optional<std::uint8_t> byte = encodeCp1252(ch);
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(*byte));
    }
    if (firstInvalidUtf8(bytes) || !hasUtf8Shape(bytes)) {
        return std::nullopt;
    }
    const std::u32string meant = utf8ToChars(bytes);
    if (!std::ranges::all_of(meant, [](char32_t ch) { return encodeCp1252(ch).has_value(); })) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace qb
