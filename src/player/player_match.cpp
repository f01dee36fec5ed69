#include "player/player_match.h"

#include <map>

namespace qb {
namespace {

std::vector<int> namedSlots(const RosterDocument& document) {
    std::vector<int> slots;
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        if (!isEmptySlot(document.table().record(slot))) {
            slots.push_back(slot);
        }
    }
    return slots;
}

// The named slot of each ID held by exactly one named slot.
std::map<int, int> uniqueIds(const RosterDocument& document) {
    std::map<int, int> unique;
    for (const auto& [id, slots] : namedSlotsById(document)) {
        if (slots.size() == 1) {
            unique[id] = slots.front();
        }
    }
    return unique;
}

} // namespace

int playerId(const RosterDocument& document, int slot) {
    return read16(document.table().record(slot), OFFSET_ID);
}

std::map<int, std::vector<int>> namedSlotsById(const RosterDocument& document) {
    std::map<int, std::vector<int>> holders;
    for (const int slot : namedSlots(document)) {
        holders[playerId(document, slot)].push_back(slot);
    }
    return holders;
}

std::optional<std::string> sharedIdText(const std::map<int, std::vector<int>>& holders, int id,
                                        const std::string& path) {
    const auto found = holders.find(id);
    if (found == holders.end() || found->second.size() < 2) {
        return std::nullopt;
    }
    const std::vector<int>& slots = found->second;
    std::string text = "ID " + std::to_string(id) + " is held by slots ";
    for (std::size_t i = 0; i < slots.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == slots.size() ? " and " : ", ") + std::to_string(slots[i]);
    }
    return text + " of " + path;
}

std::optional<std::string> sharedIdText(const RosterDocument& document, int id) {
    return sharedIdText(namedSlotsById(document), id, document.path());
}

PlayerMatching matchPlayers(const RosterDocument& left, const RosterDocument& right, MatchBy by) {
    const std::vector<int> leftNamed = namedSlots(left);
    const std::vector<int> rightNamed = namedSlots(right);
    std::map<int, int> partnerOfLeft; // left slot -> right slot
    if (by == MatchBy::Slot) {
        for (const int slot : leftNamed) {
            if (!isEmptySlot(right.table().record(slot))) {
                partnerOfLeft[slot] = slot;
            }
        }
    } else {
        const std::map<int, int> leftIds = uniqueIds(left);
        const std::map<int, int> rightIds = uniqueIds(right);
        for (const auto& [id, slot] : leftIds) {
            if (const auto found = rightIds.find(id); found != rightIds.end()) {
                partnerOfLeft[slot] = found->second;
            }
        }
    }
    PlayerMatching matching;
    std::vector<bool> rightPaired(SLOT_COUNT, false);
    for (const auto& [leftSlot, rightSlot] : partnerOfLeft) {
        matching.pairs.push_back({leftSlot, rightSlot});
        rightPaired[static_cast<std::size_t>(rightSlot)] = true;
    }
    for (const int slot : leftNamed) {
        if (!partnerOfLeft.contains(slot)) {
            matching.leftOnly.push_back(slot);
        }
    }
    for (const int slot : rightNamed) {
        if (!rightPaired[static_cast<std::size_t>(slot)]) {
            matching.rightOnly.push_back(slot);
        }
    }
    return matching;
}

} // namespace qb
