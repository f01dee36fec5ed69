#pragma once

#include "roster/roster_file.h"
#include "saving/safe_write.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// A player file (.data) is one record, 348 bytes, exactly as stored in its slot.

struct ExportTarget {
    std::string path;
    // The suffix rule produced a name other than the one the user confirmed and a
    // file of that name exists: the caller must ask before it is replaced.
    bool needsOverwriteQuestion = false;
};

// The chosen path without surrounding spaces, with ".data" appended unless it ends
// in exactly "data" (case-sensitive: "player.DATA" becomes "player.DATA.data").
// A chosen or planned name that is no regular file (a device, a FIFO, a folder) is
// refused with FileError.
ExportTarget planExport(std::string_view chosenPath);

// Writes the slot's record to `path`, replacing any file there. The file appears
// whole or not at all: it is written through the file handles (and so the fault seam)
// to a partial file beside the target, flushed and renamed over it; a failure deletes
// the partial file and names `path`. A replaced file keeps its mode; a new one gets
// 0666 less the umask.
void exportSlot(const RosterFile& roster, int slot, const std::string& path);

// The importable record in a player file. Any size but 348 bytes is refused with
// "Wrong File Size", the 346-byte body-without-ID shape included.
Record readPlayerFile(const std::string& path);

// Imports a player file over a slot. An empty target takes the whole record, ID
// included, after the ID is checked against all 1600 slots ("Duplicate ID"); an
// occupied target keeps its own two ID bytes. Only bytes that differ are written.
// Returns the record offsets written. Nothing is written on any refusal.
std::vector<int> importSlot(const RosterFile& roster, int slot, const std::string& dataPath,
                            const SafetyOptions& safety = {},
                            std::vector<std::string>* notices = nullptr);

// The record an import writes into `slot` of `table` (the file at `path`): an empty
// slot takes the player file's record whole after its ID is checked against all 1600
// slots; an occupied one keeps its own two ID bytes.
Record importedRecord(const SlotTable& table, int slot, const Record& incoming,
                      const std::string& path);

// Fails with "Duplicate ID", naming the file at `path` and the slot, when any of the
// 1600 slots of its table holds `id`.
void requireUnusedId(const SlotTable& table, std::uint16_t id, const std::string& path);

// The texts the window and the command-line tool show around export and import.
std::string importConfirmationText(std::string_view targetName, std::string_view chosenPath);
std::string importSuccessText(std::string_view targetName);
std::string exportSuccessText(std::string_view exportPath);

} // namespace qb
