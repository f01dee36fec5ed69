#include "roster/codepage.h"

#include <algorithm>
#include <array>

namespace qb {
namespace {

// Unicode code points of the bytes 0x80-0x9F; the unassigned ones keep their number.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t charOf(std::uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[static_cast<std::size_t>(byte - 0x80)];
    }
    return byte;
}

void appendUtf8(std::string& out, char32_t ch) {
    if (ch < 0x80) {
        out.push_back(static_cast<char>(ch));
    } else if (ch < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (ch >> 6)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else if (ch < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (ch >> 12)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (ch >> 18)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    }
}

} // namespace

std::string charToUtf8(char32_t ch) {
    std::string out;
    appendUtf8(out, ch);
    return out;
}

std::string decodeCp1252(std::span<const std::uint8_t> bytes) {
    // Names are nearly always plain ASCII, which is the same in both.
    if (std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b < 0x80; })) {
        return {bytes.begin(), bytes.end()};
    }
    std::string out;
    out.reserve(bytes.size());
    for (const std::uint8_t byte : bytes) {
        appendUtf8(out, charOf(byte));
    }
    return out;
}

std::optional<std::uint8_t> encodeCp1252(char32_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
        return static_cast<std::uint8_t>(ch);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == ch) {
            return static_cast<std::uint8_t>(0x80 + i);
        }
    }
    return std::nullopt;
}

Utf8Char nextUtf8Char(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    // The sequence's length follows from its lead byte; the smallest character of each
    // length rules out overlong forms ("\xC0\xAF" is not "/").
    int extra = 0;
    char32_t ch = 0;
    char32_t smallest = 0;
    if (lead >= 0xC0 && lead <= 0xDF) {
        extra = 1;
        ch = lead & 0x1Fu;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        ch = lead & 0x0Fu;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        ch = lead & 0x07u;
        smallest = 0x10000;
    } else {
        return {U'\uFFFD', 1, false};
    }
    for (int k = 1; k <= extra; ++k) {
        const std::size_t next = at + static_cast<std::size_t>(k);
        if (next >= text.size() || (static_cast<unsigned char>(text[next]) & 0xC0) != 0x80) {
            return {U'\uFFFD', 1, false};
        }
        ch = (ch << 6) | (static_cast<unsigned char>(text[next]) & 0x3Fu);
    }
    const auto length = static_cast<std::size_t>(extra) + 1;
    if (ch < smallest || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) {
        return {U'\uFFFD', length, false}; // shaped as UTF-8, but no character
    }
    return {ch, length, true};
}

std::u32string utf8ToChars(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char next = nextUtf8Char(text, i);
        out.push_back(next.ch);
        i += next.valid ? next.length : 1;
    }
    return out;
}

std::optional<std::size_t> firstInvalidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char next = nextUtf8Char(text, i);
        if (!next.valid) {
            return i;
        }
        i += next.length;
    }
    return std::nullopt;
}

std::uint8_t foldCaseCp1252(std::uint8_t byte) {
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
        return static_cast<std::uint8_t>(byte + 0x20);
    }
    switch (byte) {
    case 0x8A: // S caron
    case 0x8C: // OE
    case 0x8E: // Z caron
        return static_cast<std::uint8_t>(byte + 0x10);
    case 0x9F: // Y diaeresis
        return 0xFF;
    default:
        return byte;
    }
}

} // namespace qb
