#include "codecs/flags.h"

#include "codecs/bits.h"
#include "codecs/codec_errors.h"
#include "codecs/identity.h"
#include "roster/little_endian.h"

#include <algorithm>
#include <string>

namespace qb {
namespace {

// A run is the flags of one control stored in one byte, or in the word at offset 196.
struct FlagRun {
    FlagControl control;
    int firstIndex;
    int length;
    int offset;
};

constexpr std::array<FlagRun, 4> kRuns = {{
    {FlagControl::Skills, 1, 16, 196},
    {FlagControl::Batting2, 1, 8, 188},
    {FlagControl::Batting2, 9, 8, 192},
    {FlagControl::Batting2, 17, 5, 193},
}};

int storedRunValue(const Record& r, const FlagRun& run) {
    const auto offset = static_cast<std::size_t>(run.offset);
    return run.length > 8 ? static_cast<int>(littleEndian(&r[offset], 2)) : r[offset];
}

// Bit 0 first, padded with zeros to the run's length; bits past the run are ignored.
void showRun(const Record& loaded, const FlagRun& run, PlayerSheet& state) {
    std::string bits = binaryDigits(static_cast<std::uint32_t>(storedRunValue(loaded, run)));
    std::reverse(bits.begin(), bits.end());
    bits.resize(std::max(bits.size(), static_cast<std::size_t>(run.length)), '0');
    for (int j = 0; j < run.length; ++j) {
        flagBox(state, run.control, run.firstIndex + j) = bits[static_cast<std::size_t>(j)] - '0';
    }
}

void storeRun(const PlayerSheet& state, const FlagRun& run, Record& working) {
    std::string bits;
    for (int j = run.length - 1; j >= 0; --j) {
        const int index = run.firstIndex + j;
        const int box = flagBox(state, run.control, index);
        if (box != 0 && box != 1) {
            const auto* flag =
                std::find_if(kFlagBits.begin(), kFlagBits.end(), [&](const FlagBit& candidate) {
                    return candidate.control == run.control && candidate.index == index;
                });
            throw StoreError(flagKey(*flag),
                             std::string(flag->caption) + " must be ticked or clear");
        }
        bits.push_back(static_cast<char>('0' + box));
    }
    const auto offset = static_cast<std::size_t>(run.offset);
    const std::uint32_t value = binaryValue(bits);
    if (run.length > 8) {
        std::uint8_t scratch = 0;
        storeLittleEndian(value, working[offset], working[offset + 1], scratch);
    } else {
        working[offset] = static_cast<std::uint8_t>(value);
    }
}

} // namespace

int& flagBox(PlayerSheet& state, FlagControl control, int index) {
    const auto i = static_cast<std::size_t>(index);
    return control == FlagControl::Skills ? state.skills.at(i) : state.shots.at(i);
}

int flagBox(const PlayerSheet& state, FlagControl control, int index) {
    return flagBox(const_cast<PlayerSheet&>(state), control, index);
}

void readSkills(const Record& loaded, PlayerSheet& state) {
    showRun(loaded, kRuns[0], state);
    const int injuryFree = loaded[kInjuryFreeOffset];
    if (injuryFree > 2) {
        throw ShowError("skills." + std::string(kInjuryFreeCaption),
                        std::string(kInvalidPropertyValue));
    }
    state.skills[kInjuryFreeIndex] = injuryFree;
}

void RepairSkills(Record& record, FieldRepairs& repairs) {
    std::uint8_t& injuryFree = record[kInjuryFreeOffset];
    if (injuryFree > 2) {
        repairs.push_back(
            {"skills." + std::string(kInjuryFreeCaption), std::to_string(injuryFree), "2"});
        injuryFree = 2;
    }
}

void writeSkills(const PlayerSheet& state, Record& working) {
    const int injuryFree = state.skills[kInjuryFreeIndex];
    if (injuryFree < 0 || injuryFree > 2) {
        throw StoreError("skills." + std::string(kInjuryFreeCaption),
                         "Injury Free must be 0, 1 or 2");
    }
    storeRun(state, kRuns[0], working);
    working[kInjuryFreeOffset] = static_cast<std::uint8_t>(injuryFree);
}

void readShotFlags(const Record& loaded, PlayerSheet& state) {
    for (std::size_t i = 1; i < kRuns.size(); ++i) {
        showRun(loaded, kRuns[i], state);
    }
}

void writeShotFlags(const PlayerSheet& state, Record& working) {
    for (std::size_t i = 1; i < kRuns.size(); ++i) {
        storeRun(state, kRuns[i], working);
    }
}

} // namespace qb
