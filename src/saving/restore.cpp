#include "saving/restore.h"

#include "saving/file_identity.h"

#include <algorithm>

namespace qb {

std::vector<SlotWrite> restoreWrites(const RosterFile& file, const RosterFile& source,
                                     const std::vector<int>& slots) {
    if (source.kind() != file.kind()) {
        throw RestoreError(
            source.path() + " is a " +
                (source.kind() == FileKind::SavedGame ? "saved game" : "roster file") + " and " +
                file.path() + " is not; nothing was written",
            file.path());
    }
    const std::int64_t sourceSize = identifyFile(source.path()).size;
    const std::int64_t fileSize = identifyFile(file.path()).size;
    if (sourceSize != fileSize) {
        throw RestoreError(source.path() + " has " + std::to_string(sourceSize) + " bytes and " +
                               file.path() + " " + std::to_string(fileSize) +
                               "; nothing was written",
                           file.path());
    }
    for (const int slot : slots) {
        requireSlot(file.path(), slot);
    }
    SlotTable current = file.readSlotTable();
    SlotTable restored = source.readSlotTable();
    std::vector<SlotWrite> writes;
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        const bool chosen = slots.empty() ? current.copyRecord(slot) != restored.copyRecord(slot)
                                          : std::ranges::find(slots, slot) != slots.end();
        if (chosen) {
            writes.push_back({slot, restored.copyRecord(slot), current.copyRecord(slot)});
        }
    }
    return writes;
}

} // namespace qb
