#pragma once

#include "roster/layout.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qb {

// The slot table as one block of SLOT_COUNT records.
class SlotTable {
public:
    // A table to be filled by a read (its bytes are not set first).
    SlotTable();
    // A table made of these bytes, cut or zero-filled to the table's size.
    explicit SlotTable(const std::vector<std::uint8_t>& bytes);
    const std::uint8_t* record(int slot) const;
    Record copyRecord(int slot) const;
    std::uint8_t* data() { return bytes_.get(); }

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
};

// A roster file or saved game on disk. It holds only the path: every operation opens
// the file, works at explicit positions and closes it again, also when it fails.
// A file shorter than its slot table is refused when the object is made, and no
// operation ever writes outside the slot table or changes the file's size.
class RosterFile {
public:
    explicit RosterFile(std::string path);

    const std::string& path() const noexcept { return path_; }
    FileKind kind() const noexcept { return kind_; }
    // Set when the file is read as a roster file but looks like a saved game.
    const std::optional<std::string>& kindWarning() const noexcept { return kindWarning_; }
    std::int64_t slotOffset(int slot) const;

    // Fails, naming the cause, when the file cannot be opened for writing or has the size
    // of the other kind (requireOwnSize); writes nothing.
    void requireWritable() const;

    // All 1600 records in one read.
    SlotTable readSlotTable() const;
    Record readSlot(int slot) const;
    // The saved game's 132-byte header, byte for byte; empty for a roster file.
    std::vector<std::uint8_t> readHeader() const;

private:
    std::string path_;
    FileKind kind_;
    std::optional<std::string> kindWarning_;
};

// A warning for a file read as a roster file whose name ends in "sav" in another case
// ("GAME.SAV") and whose size is exactly a saved game's: its slots would be read and
// written 132 bytes off. Suggests the name that makes it a saved game.
std::optional<std::string> savedGameLookalike(const std::string& path, FileKind kind,
                                              std::int64_t size);

// Fail, naming the file, when it is too short for its slot table, or the slot is not 0-1599.
void requireSlotTable(const std::string& path, FileKind kind, std::int64_t size);
void requireSlot(const std::string& path, int slot);

// Fails, naming both sizes, when a file of `size` bytes is exactly of the other kind's
// size and not of its own: the name decides the kind, but such a file is the other kind
// under a name that hides it (a saved game copied to "career.sav.bak"), and written as
// this kind its slots would land 132 bytes off. Every write checks it.
void requireOwnSize(const RosterFile& roster, std::int64_t size);

// The record offsets where two records differ, in increasing order.
std::vector<int> changedOffsets(const Record& before, const Record& after);

} // namespace qb
