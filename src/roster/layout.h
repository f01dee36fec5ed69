#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qb {

inline constexpr int SLOT_SIZE = 348;
inline constexpr int SLOT_COUNT = 1600;
inline constexpr int SAVE_HEADER_SIZE = 132;
inline constexpr std::int64_t SLOT_TABLE_SIZE = std::int64_t{SLOT_SIZE} * SLOT_COUNT;

// Record offsets that more than one part of the program reads.
inline constexpr int OFFSET_ID = 0;
inline constexpr int OFFSET_COMMENTARY = 2;
inline constexpr int OFFSET_NAME = 4;
inline constexpr int NAME_BYTES = 16;     // offsets 4-19
inline constexpr int NAME_MAX_CHARS = 15; // the editor writes offsets 4-18 only
inline constexpr int OFFSET_NATION = 216;

using Record = std::array<std::uint8_t, SLOT_SIZE>;

// A saved game carries the slot table behind a 132-byte header. The kind follows
// the path alone: only a path ending in lower-case "sav" is a saved game, so
// "x.SAV" is handled as a roster file.
enum class FileKind { Roster, SavedGame };

FileKind fileKindOf(std::string_view path);
// What the user said every file of this run is (quillbay-cli's --kind), overriding the
// name; nothing goes back to the rule of the name. The window never declares one.
void declareFileKind(std::optional<FileKind> kind);
// The size of a file of the kind: its header and slot table.
std::int64_t fileSize(FileKind kind);
// "roster file" or "saved game".
const char* kindName(FileKind kind);
std::int64_t slotBase(FileKind kind);
std::int64_t slotOffset(FileKind kind, int slot);
bool isValidSlot(int slot);

// Unsigned 16-bit little-endian value at `offset` of a record.
std::uint16_t read16(const std::uint8_t* record, int offset);

// The name of a record: bytes 4-19 up to the first NUL, decoded from Windows-1252.
std::string recordName(const std::uint8_t* record);

// A slot is empty when the first byte of its name is 0, whatever its other bytes hold.
bool isEmptySlot(const std::uint8_t* record);

} // namespace qb
