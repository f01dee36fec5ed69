#include "codecs/flags.h"

#include "codecs/codec_errors.h"
#include "codecs/identity.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

namespace qb {
namespace {

// A run is the flags of one control stored in one byte, or in the little-endian word at
// 196: the flags of the flag table that share a control and an offset, which stand
// together in it. A flag's bit `bit` of the run is bit bit % 8 of byte offset + bit / 8.
std::vector<std::span<const FlagBit>> runsOf(FlagControl control) {
    std::vector<std::span<const FlagBit>> runs;
    for (auto first = kFlagBits.begin(); first != kFlagBits.end();) {
        const auto end = std::find_if(first, kFlagBits.end(), [first](const FlagBit& flag) {
            return flag.control != first->control || flag.offset != first->offset;
        });
        if (first->control == control) {
            runs.emplace_back(first, end);
        }
        first = end;
    }
    return runs;
}

std::size_t byteOf(const FlagBit& flag) {
    return static_cast<std::size_t>(flag.offset + flag.bit / 8);
}

void showRuns(const Record& loaded, FlagControl control, PlayerSheet& sheet) {
    for (const std::span<const FlagBit> run : runsOf(control)) {
        for (const FlagBit& flag : run) {
            flagBox(sheet, control, flag.index) = (loaded[byteOf(flag)] >> (flag.bit % 8)) & 1;
        }
    }
}

// Each run's bytes are written whole: bits no flag has are written 0. A box neither
// ticked nor clear refuses the store, the run's last such box named first.
void storeRuns(const PlayerSheet& sheet, FlagControl control, Record& working) {
    for (const std::span<const FlagBit> run : runsOf(control)) {
        std::uint32_t value = 0;
        for (auto flag = run.rbegin(); flag != run.rend(); ++flag) {
            const int box = flagBox(sheet, control, flag->index);
            if (box != 0 && box != 1) {
                throw StoreError(flagKey(*flag),
                                 std::string(flag->caption) + " must be ticked or clear");
            }
            value |= static_cast<std::uint32_t>(box) << flag->bit;
        }
        for (std::size_t byte = byteOf(run.front()); byte <= byteOf(run.back()); ++byte) {
            working[byte] = static_cast<std::uint8_t>(value >> (8 * (byte - byteOf(run.front()))));
        }
    }
}

} // namespace

int& flagBox(PlayerSheet& sheet, FlagControl control, int index) {
    const auto i = static_cast<std::size_t>(index);
    return control == FlagControl::Skills ? sheet.skills.at(i) : sheet.shots.at(i);
}

int flagBox(const PlayerSheet& sheet, FlagControl control, int index) {
    return flagBox(const_cast<PlayerSheet&>(sheet), control, index);
}

void showSkills(const Record& loaded, PlayerSheet& sheet) {
    showRuns(loaded, FlagControl::Skills, sheet);
    const int injuryFree = loaded[kInjuryFreeOffset];
    if (injuryFree > 2) {
        throw ShowError("skills." + std::string(kInjuryFreeCaption),
                        std::string(kInvalidPropertyValue));
    }
    sheet.skills[kInjuryFreeIndex] = injuryFree;
}

void repairSkills(Record& record, FieldRepairs& repairs) {
    std::uint8_t& injuryFree = record[kInjuryFreeOffset];
    if (injuryFree > 2) {
        repairs.push_back(
            {"skills." + std::string(kInjuryFreeCaption), std::to_string(injuryFree), "2"});
        injuryFree = 2;
    }
}

void storeSkills(const PlayerSheet& sheet, Record& working) {
    const int injuryFree = sheet.skills[kInjuryFreeIndex];
    if (injuryFree < 0 || injuryFree > 2) {
        throw StoreError("skills." + std::string(kInjuryFreeCaption),
                         "Injury Free must be 0, 1 or 2");
    }
    storeRuns(sheet, FlagControl::Skills, working);
    working[kInjuryFreeOffset] = static_cast<std::uint8_t>(injuryFree);
}

void showShotFlags(const Record& loaded, PlayerSheet& sheet) {
    showRuns(loaded, FlagControl::Shots, sheet);
}

void storeShotFlags(const PlayerSheet& sheet, Record& working) {
    storeRuns(sheet, FlagControl::Shots, working);
}

} // namespace qb
