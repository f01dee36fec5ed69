// libFuzzer target: a roster whose first slots hold the input. Building the player
// list and the slot list and the searches must never misbehave (the import fuzzer
// covers the ID check of an import).
#include "roster/player_lists.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(qb::SLOT_TABLE_SIZE), 0);
    std::memcpy(bytes.data(), data, std::min(size, bytes.size()));
    const qb::SlotTable table(std::move(bytes));
    const qb::RosterIndex index = qb::buildRosterIndex(table);
    const std::string text(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 8));
    qb::findPlayerWithPrefix(index, text);
    qb::findSlotWithPrefix(index, text);
    qb::nextEmptySlot(index, static_cast<int>(size % qb::SLOT_COUNT) - 1);
    return 0;
}
