#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qb {

// Names in the roster are single-byte text in the game's code page, Windows-1252.
// Inside the program text is UTF-8.

// Decodes Windows-1252 bytes to UTF-8. The five unassigned bytes (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the control characters of the same number, so every byte survives.
std::string decodeCp1252(std::span<const std::uint8_t> bytes);

// The single-byte code of one character, or nothing when the code page has none.
std::optional<std::uint8_t> encodeCp1252(char32_t ch);

// One character of UTF-8 text at a byte offset: the character and the bytes it takes.
// Not valid (U+FFFD) for a stray byte, a sequence cut short, an overlong form, a
// surrogate or a number past U+10FFFF; `length` is then the bytes of the sequence's
// shape (1 for a byte that starts none).
struct Utf8Char {
    char32_t ch;
    std::size_t length;
    bool valid;
};
Utf8Char nextUtf8Char(std::string_view text, std::size_t at);

// Splits UTF-8 into characters; an invalid sequence yields U+FFFD (which has no code).
std::u32string utf8ToChars(std::string_view text);

// The byte offset of the first byte that is not part of valid UTF-8; nothing when all are.
std::optional<std::size_t> firstInvalidUtf8(std::string_view text);

// One character as UTF-8 (for messages that name it).
std::string charToUtf8(char32_t ch);

// Lower-cases a Windows-1252 byte (ASCII and the accented Latin letters), for
// comparisons that ignore case.
std::uint8_t foldCaseCp1252(std::uint8_t byte);

} // namespace qb
