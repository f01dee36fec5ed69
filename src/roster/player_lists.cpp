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

// Whether the stored name begins with the folded bytes, ignoring case.
bool rawStartsWith(std::string_view rawName, std::string_view folded) {
    if (rawName.size() < folded.size()) {
        return false;
    }
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (foldCaseCp1252(static_cast<std::uint8_t>(rawName[i])) !=
            static_cast<std::uint8_t>(folded[i])) {
            return false;
        }
    }
    return true;
}

int firstWithPrefix(const RosterIndex& index, std::size_t count, std::string_view text) {
    const std::string wanted = foldedBytes(text);
    for (std::size_t i = 0; i < count; ++i) {
        if (rawStartsWith(index.slotEntries[i].rawName, wanted)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

std::string SlotEntry::name() const {
    return decodeCp1252(
        std::span(reinterpret_cast<const std::uint8_t*>(rawName.data()), rawName.size()));
}

RosterIndex buildRosterIndex(const SlotTable& table) {
    RosterIndex index;
    index.slotEntries.reserve(SLOT_COUNT);
    bool leadingRun = true;
    // The records lie back to back; a name ends at its first zero byte or after 16 bytes.
    const std::uint8_t* record = table.record(0);
    for (int slot = 0; slot < SLOT_COUNT; ++slot, record += SLOT_SIZE) {
        const char* name = reinterpret_cast<const char*>(record + OFFSET_NAME);
        std::size_t length = 0;
        while (length < NAME_BYTES && name[length] != 0) {
            ++length;
        }
        index.slotEntries.push_back(
            {std::string_view(name, length), singleBitIndex(read16(record, OFFSET_NATION))});
        leadingRun = leadingRun && length != 0;
        index.playerCount += leadingRun ? 1 : 0;
    }
    return index;
}

int singleBitIndex(std::uint32_t value) {
    if (value == 0 || value > (1u << 13) || (value & (value - 1)) != 0) {
        return 0;
    }
    return std::countr_zero(value) + 1;
}

int findPlayerWithPrefix(const RosterIndex& index, std::string_view text) {
    return firstWithPrefix(index, index.playerCount, text);
}

int findSlotWithPrefix(const RosterIndex& index, std::string_view text) {
    if (text.empty()) {
        return -1;
    }
    return firstWithPrefix(index, index.slotEntries.size(), text);
}

int nextEmptySlot(const RosterIndex& index, int selected) {
    for (std::size_t i = static_cast<std::size_t>(selected + 1); i < index.slotEntries.size();
         ++i) {
        if (index.slotEntries[i].rawName.empty()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace qb
