#include "roster/layout.h"

#include "roster/codepage.h"
#include "system/little_endian.h"

#include <span>

namespace qb {

namespace {

std::optional<FileKind>& declaredKind() {
    static std::optional<FileKind> kind;
    return kind;
}

} // namespace

FileKind fileKindOf(std::string_view path) {
    if (declaredKind()) {
        return *declaredKind();
    }
    return path.ends_with("sav") ? FileKind::SavedGame : FileKind::Roster;
}

void declareFileKind(std::optional<FileKind> kind) {
    declaredKind() = kind;
}

std::int64_t fileSize(FileKind kind) {
    return slotBase(kind) + SLOT_TABLE_SIZE;
}

const char* kindName(FileKind kind) {
    return kind == FileKind::SavedGame ? "saved game" : "roster file";
}

std::int64_t slotBase(FileKind kind) {
    return kind == FileKind::SavedGame ? SAVE_HEADER_SIZE : 0;
}

std::int64_t slotOffset(FileKind kind, int slot) {
    return slotBase(kind) + std::int64_t{SLOT_SIZE} * slot;
}

bool isValidSlot(int slot) {
    return slot >= 0 && slot < SLOT_COUNT;
}

std::uint16_t read16(const std::uint8_t* record, int offset) {
    return static_cast<std::uint16_t>(littleEndian(record + offset, 2));
}

std::string recordName(const std::uint8_t* record) {
    std::size_t length = 0;
    while (length < NAME_BYTES && record[OFFSET_NAME + static_cast<int>(length)] != 0) {
        ++length;
    }
    return decodeCp1252(std::span(record + OFFSET_NAME, length));
}

bool isEmptySlot(const std::uint8_t* record) {
    return record[OFFSET_NAME] == 0;
}

} // namespace qb
