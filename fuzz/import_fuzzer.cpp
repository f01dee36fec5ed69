// libFuzzer target: a player file imported over a slot. The input's first 348 bytes are
// the player file, the rest the roster's slot table; the target slot comes from the
// input's size. An occupied slot keeps its ID and takes every other byte; an empty one
// takes the whole record unless another slot holds its ID.
#include "saving/transfer.h"
#include "system/errors.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qb::Record incoming{};
    std::memcpy(incoming.data(), data, std::min(size, incoming.size()));
    // The rest of the input, repeated, fills the slot table, so every slot can be taken.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(qb::SLOT_TABLE_SIZE), 0);
    if (size > incoming.size()) {
        const std::size_t rest = size - incoming.size();
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = data[incoming.size() + i % rest];
        }
    }
    const qb::SlotTable table(bytes);
    const int slot = static_cast<int>(size % qb::SLOT_COUNT);
    const qb::Record current = table.copyRecord(slot);
    try {
        const qb::Record target = qb::importedRecord(table, slot, incoming, "fuzz.pak");
        const bool keepsId = !qb::isEmptySlot(current.data());
        for (std::size_t i = 0; i < target.size(); ++i) {
            if (target[i] != (keepsId && i < 2 ? current[i] : incoming[i])) {
                std::abort();
            }
        }
    } catch (const qb::TransferError& error) {
        if (!qb::isEmptySlot(current.data()) ||
            !error.description().starts_with("Duplicate ID: ID ")) {
            std::abort();
        }
    }
    return 0;
}
