#include "roster/player_lists.h"

#include "roster/codepage.h"

#include <bit>

namespace qb {
namespace {

// Text as Windows-1252 bytes folded to lower case; a character the code page lacks
// becomes a byte no name holds, so it never matches.
std::string foldedBytes(std::string_view utf8) {
    std::string out;
    for (const char32_t ch : utf8ToChars(utf8)) {
        const auto code = encodeCp1252(ch);
        out.push_back(static_cast<char>(code ? foldCaseCp1252(*code) : 0));
    }
    return out;
}

template <typename Entries, typename NameOf>
int firstWithPrefix(const Entries& entries, std::string_view text, NameOf nameOf) {
    const std::string wanted = foldedBytes(text);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (foldedBytes(nameOf(entries[i])).starts_with(wanted)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

RosterIndex buildRosterIndex(const SlotTable& table) {
    RosterIndex index;
    int leadingRun = 0;
    while (leadingRun < SLOT_COUNT && !isEmptySlot(table.record(leadingRun))) {
        ++leadingRun;
    }
    index.players.reserve(static_cast<std::size_t>(leadingRun));
    index.slotEntries.reserve(SLOT_COUNT);
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        const std::uint8_t* record = table.record(slot);
        index.slotEntries.push_back(
            {recordName(record), BitToIndex(read16(record, OFFSET_NATION))});
        if (slot < leadingRun) {
            index.players.push_back(index.slotEntries.back().name);
        }
    }
    return index;
}

int BitToIndex(std::uint32_t value) {
    if (value == 0 || value > (1u << 13) || (value & (value - 1)) != 0) {
        return 0;
    }
    return std::countr_zero(value) + 1;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return foldedBytes(text).starts_with(foldedBytes(prefix));
}

int findFirstWithPrefix(const std::vector<std::string>& entries, std::string_view text) {
    return firstWithPrefix(entries, text, [](const std::string& name) { return name; });
}

int findSlotWithPrefix(const RosterIndex& index, std::string_view text) {
    if (text.empty()) {
        return -1;
    }
    return firstWithPrefix(index.slotEntries, text,
                           [](const SlotEntry& entry) { return entry.name; });
}

int nextEmptySlot(const RosterIndex& index, int selected) {
    for (std::size_t i = static_cast<std::size_t>(selected + 1); i < index.slotEntries.size();
         ++i) {
        if (index.slotEntries[i].name.empty()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace qb
