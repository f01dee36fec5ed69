#include "roster/roster_file.h"

#include "system/errors.h"
#include "system/file_handle.h"

#include <cctype>
#include <cstring>

namespace qb {
namespace {

// The game's files have two sizes, a roster file's and a saved game's; a file many times
// larger is neither (and would be copied whole to a backup before its first write).
constexpr std::int64_t kLargestRosterFile = std::int64_t{4} << 20;

void requireRosterSize(const std::string& path, std::int64_t size) {
    if (size > kLargestRosterFile) {
        throw FileTooLarge(path + " has " + std::to_string(size) +
                               " bytes, far more than a saved game (" +
                               std::to_string(fileSize(FileKind::SavedGame)) +
                               " bytes): it is neither a roster file nor a saved game",
                           path);
    }
}

} // namespace

std::optional<std::string> savedGameLookalike(const std::string& path, FileKind kind,
                                              std::int64_t size) {
    std::string suffix = path.substr(path.size() < 3 ? 0 : path.size() - 3);
    for (char& ch : suffix) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    if (kind != FileKind::Roster || suffix != "sav" || size != SAVE_HEADER_SIZE + SLOT_TABLE_SIZE) {
        return std::nullopt;
    }
    const std::string suggested = path.substr(0, path.size() - 3) + "sav";
    return path + " is read as a roster file (only a name ending in lower-case \"sav\" is a " +
           "saved game), but it has the size of a saved game (" + std::to_string(size) +
           " bytes); if it is one, rename it to " + suggested;
}

void requireSlotTable(const std::string& path, FileKind kind, std::int64_t size) {
    const std::int64_t needed = slotBase(kind) + SLOT_TABLE_SIZE;
    if (size < needed) {
        throw FileError(path + " is too short for a player table: it has " + std::to_string(size) +
                            " bytes, the table needs " + std::to_string(needed),
                        path);
    }
}

void requireOwnSize(const RosterFile& roster, std::int64_t size) {
    const FileKind kind = roster.kind();
    const FileKind other = kind == FileKind::Roster ? FileKind::SavedGame : FileKind::Roster;
    const std::string option = other == FileKind::SavedGame ? "sav" : "pak";
    if (size == fileSize(other) && size != fileSize(kind) && roster.kindWarning()) {
        throw FileError(*roster.kindWarning() + "; nothing was written (or say it is one with " +
                            "quillbay-cli's --kind " + option + ")",
                        roster.path());
    }
    if (size == fileSize(other) && size != fileSize(kind)) {
        throw FileError(roster.path() + " is read as a " + kindName(kind) + " (" +
                            std::to_string(fileSize(kind)) + " bytes) but has the size of a " +
                            kindName(other) + " (" + std::to_string(size) +
                            " bytes); nothing was written. Say which it is with --kind " + option +
                            " (quillbay-cli), or rename it",
                        roster.path());
    }
}

void requireSlot(const std::string& path, int slot) {
    if (!isValidSlot(slot)) {
        throw FileError("Slot " + std::to_string(slot) + " is outside 0 to " +
                            std::to_string(SLOT_COUNT - 1),
                        path);
    }
}

SlotTable::SlotTable()
    : bytes_(std::make_unique_for_overwrite<std::uint8_t[]>(
          static_cast<std::size_t>(SLOT_TABLE_SIZE))) {}

SlotTable::SlotTable(const std::vector<std::uint8_t>& bytes) : SlotTable() {
    const std::size_t size = static_cast<std::size_t>(SLOT_TABLE_SIZE);
    std::memcpy(bytes_.get(), bytes.data(), std::min(size, bytes.size()));
    if (bytes.size() < size) {
        std::memset(bytes_.get() + bytes.size(), 0, size - bytes.size());
    }
}

const std::uint8_t* SlotTable::record(int slot) const {
    return bytes_.get() + static_cast<std::ptrdiff_t>(slot) * SLOT_SIZE;
}

Record SlotTable::copyRecord(int slot) const {
    Record out{};
    std::memcpy(out.data(), record(slot), out.size());
    return out;
}

RosterFile::RosterFile(std::string path) : path_(std::move(path)), kind_(fileKindOf(path_)) {
    const FileHandle file(path_, OpenMode::Read, "reading");
    requireRosterSize(path_, file.size());
    requireSlotTable(path_, kind_, file.size());
    kindWarning_ = savedGameLookalike(path_, kind_, file.size());
}

void RosterFile::requireWritable() const {
    const FileHandle file(path_, OpenMode::Write, "writing");
    requireOwnSize(*this, file.size());
}

std::int64_t RosterFile::slotOffset(int slot) const {
    return qb::slotOffset(kind_, slot);
}

SlotTable RosterFile::readSlotTable() const {
    const FileHandle file(path_, OpenMode::Read, "reading");
    SlotTable table;
    file.readAt(table.data(), static_cast<std::size_t>(SLOT_TABLE_SIZE), slotBase(kind_));
    return table;
}

Record RosterFile::readSlot(int slot) const {
    requireSlot(path_, slot);
    const FileHandle file(path_, OpenMode::Read, "reading");
    Record record{};
    file.readAt(record.data(), record.size(), slotOffset(slot));
    return record;
}

std::vector<std::uint8_t> RosterFile::readHeader() const {
    if (kind_ != FileKind::SavedGame) {
        return {};
    }
    const FileHandle file(path_, OpenMode::Read, "reading");
    std::vector<std::uint8_t> header(SAVE_HEADER_SIZE);
    file.readAt(header.data(), header.size(), 0);
    return header;
}

std::vector<int> changedOffsets(const Record& before, const Record& after) {
    std::vector<int> offsets;
    for (int i = 0; i < SLOT_SIZE; ++i) {
        if (before[static_cast<std::size_t>(i)] != after[static_cast<std::size_t>(i)]) {
            offsets.push_back(i);
        }
    }
    return offsets;
}

} // namespace qb
