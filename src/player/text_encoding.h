#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qb {

// The encodings a spreadsheet saves text files in. Excel and LibreOffice write UTF-8
// (with or without a byte order mark), UTF-16 with a mark ("Unicode text"), or the
// Windows code page of the user's language, Windows-1252 for every language the game's
// names are in.
enum class TextEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian, Windows1252 };

// How to open a UTF-8 file in a spreadsheet so that its names come through, for the
// messages that refuse names garbled by opening it otherwise.
inline constexpr const char* kImportAsUtf8 =
    "Open the dump again choosing the character set UTF-8 (LibreOffice: Character set "
    "\"Unicode (UTF-8)\"; Excel: Data > From Text/CSV, File origin \"65001: Unicode "
    "(UTF-8)\"), or dump it again, and save it as CSV UTF-8";

// "UTF-8", "UTF-16 LE", "UTF-16 BE", "Windows-1252".
std::string_view encodingName(TextEncoding encoding);

// The byte order mark `bytes` start with: its encoding and length; no encoding (length
// 0) when there is none.
struct ByteOrderMark {
    std::optional<TextEncoding> encoding;
    std::size_t length = 0;
};
ByteOrderMark byteOrderMark(std::string_view bytes);

// UTF-16 code units (after the mark) as UTF-8. A unit left over at the end or a surrogate
// without its pair gives nothing, and `badAt` then holds the byte offset of the unit.
std::optional<std::string> utf16ToUtf8(std::string_view units, bool bigEndian, std::size_t& badAt);

// Whether text that is not valid UTF-8 was still written as UTF-8: it holds a
// multi-byte character, or a broken sequence of a lead byte and its continuation bytes
// (an overlong "\xC0\xAF"). Text in Windows-1252 has neither, but for the rare pairs
// that are exactly the bytes of such a sequence.
bool hasUtf8Shape(std::string_view text);

// The text a UTF-8 file held when `text` is what reading it as Windows-1252 made of it
// ("A MÃ¼ller" for "A Müller", "Dâ€™Souza" for "D’Souza"): every character of `text`
// has a Windows-1252 byte, those bytes are valid UTF-8 with at least one character of
// more than one byte, and that text fits Windows-1252 again (so a name could be it).
// Nothing for any other text.
std::optional<std::string> misreadUtf8(std::string_view text);

} // namespace qb
