#include "saving/transfer.h"

#include "system/errors.h"
#include "system/file_handle.h"
#include "system/native_path.h"
#include "system/process.h"
#include "system/trimmed.h"

#include <atomic>
#include <filesystem>

namespace qb {
namespace {

// The partial file's name, unique to this process and this write; creating it refuses
// anything already there, a link planted under the name included.
std::string partialPathFor(const std::string& path) {
    static std::atomic<unsigned> written{0};
    return path + "." + std::to_string(currentProcessId()) + "-" + std::to_string(written++) +
           ".partial";
}

// The record is written to a partial file beside the target, flushed, and renamed over
// the target, so the target is whole or as it was; a failure deletes the partial file.
// The partial file is private until it is complete, then gets the permissions the
// replaced file had (or a new file would get).
void writeWholeFile(const std::string& path, const Record& record) {
    const std::string partial = partialPathFor(path);
    bool created = false; // a file found under the name is not ours to delete
    try {
        const FileHandle file(partial, OpenMode::CreateNew, "writing");
        created = true;
        file.matchPermissionsOf(path);
        file.writeAt(record.data(), record.size(), 0);
        file.sync();
    } catch (const FileError& error) {
        if (created) {
            removeFile(partial);
        }
        // As every failure of an export has always read: the chosen file and the reason.
        const std::string text = error.description();
        const std::size_t reason = text.find(": ", text.find(partial) + partial.size());
        throw FileError("Cannot write " + path + ": " + text.substr(reason + 2), path);
    }
    try {
        replaceFile(partial, path);
    } catch (const FileError&) {
        removeFile(partial);
        throw;
    }
}

// An export replaces a regular file or makes a new one, never a device, a FIFO or a folder.
void requireReplaceable(const std::string& path) {
    if (std::optional<std::string> refusal = notRegularFileAt(path)) {
        throw FileError("Cannot write " + path + ": " + *refusal, path);
    }
}

} // namespace

ExportTarget planExport(std::string_view chosenPath) {
    const std::string_view path = trimmed(chosenPath);
    ExportTarget target{std::string(path), false};
    requireReplaceable(target.path); // a device chosen gets no ".data" file beside it
    if (!path.ends_with("data")) {
        target.path += ".data";
        std::error_code ignored;
        target.needsOverwriteQuestion = std::filesystem::exists(nativePath(target.path), ignored);
    }
    requireReplaceable(target.path);
    return target;
}

void exportSlot(const RosterFile& roster, int slot, const std::string& path) {
    writeWholeFile(path, roster.readSlot(slot));
}

Record readPlayerFile(const std::string& path) {
    const FileHandle file(path, OpenMode::Read, "reading");
    if (file.size() != SLOT_SIZE) {
        throw TransferError("Wrong File Size", path);
    }
    Record record{};
    file.readAt(record.data(), record.size(), 0);
    return record;
}

std::vector<int> importSlot(const RosterFile& roster, int slot, const std::string& dataPath,
                            const SafetyOptions& safety, std::vector<std::string>* notices) {
    const Record incoming = readPlayerFile(dataPath);
    // The duplicate-ID check and the write see one state of the file.
    const RosterLock lock(roster.path(), safety.lockWait);
    const SlotTable table = roster.readSlotTable();
    const Record target = importedRecord(table, slot, incoming, roster.path());
    SaveReport report = writeSlotSafely(roster, slot, table.copyRecord(slot), target, safety);
    if (notices != nullptr) {
        *notices = std::move(report.notices);
    }
    return report.written.front();
}

Record importedRecord(const SlotTable& table, int slot, const Record& incoming,
                      const std::string& path) {
    const std::uint8_t* current = table.record(slot);
    Record target = incoming;
    if (isEmptySlot(current)) {
        requireUnusedId(table, read16(incoming.data(), OFFSET_ID), path);
    } else {
        target[0] = current[0];
        target[1] = current[1];
    }
    return target;
}

void requireUnusedId(const SlotTable& table, std::uint16_t id, const std::string& path) {
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        if (read16(table.record(slot), OFFSET_ID) == id) {
            const std::string name = recordName(table.record(slot));
            throw TransferError("Duplicate ID: ID " + std::to_string(id) + " is held by slot " +
                                    std::to_string(slot) +
                                    (name.empty() ? " (empty)" : " (" + name + ")") + " of " + path,
                                path);
        }
    }
}

std::string importConfirmationText(std::string_view targetName, std::string_view chosenPath) {
    const std::string fileName = utf8Path(nativePath(std::string(trimmed(chosenPath))).filename());
    return "Are you sure that you want to replace " + std::string(targetName) + " with " + "\n\t" +
           fileName;
}

std::string importSuccessText(std::string_view targetName) {
    return "Replaced " + std::string(targetName) + " successfully";
}

std::string exportSuccessText(std::string_view exportPath) {
    return "Exported to " + std::string(exportPath);
}

} // namespace qb
