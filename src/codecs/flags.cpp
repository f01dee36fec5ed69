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
    {FlagControl::Shots, 1, 8, 188},
    {FlagControl::Shots, 9, 8, 192},
    {FlagControl::Shots, 17, 5, 193},
}};

int storedRunValue(const Record& r, const FlagRun& run) {
    const auto offset = static_cast<std::size_t>(run.offset);
    return run.length > 8 ? static_cast<int>(littleEndian(&r[offset], 2)) : r[offset];
}

// Bit 0 first, padded with zeros to the run's length; bits past the run are ignored.
void showRun(const Record& loaded, const FlagRun& run, PlayerSheet& sheet) {
    std::string bits = binaryDigits(static_cast<std::uint32_t>(storedRunValue(loaded, run)));
    std::reverse(bits.begin(), bits.end());
    bits.resize(std::max(bits.size(), static_cast<std::size_t>(run.length)), '0');
    for (int j = 0; j < run.length; ++j) {
        flagBox(sheet, run.control, run.firstIndex + j) = bits[static_cast<std::size_t>(j)] - '0';
    }
}

void storeRun(const PlayerSheet& sheet, const FlagRun& run, Record& working) {
    std::string bits;
    for (int j = run.length - 1; j >= 0; --j) {
        const int index = run.firstIndex + j;
        const int box = flagBox(sheet, run.control, index);
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

int& flagBox(PlayerSheet& sheet, FlagControl control, int index) {
    const auto i = static_cast<std::size_t>(index);
    return control == FlagControl::Skills ? sheet.skills.at(i) : sheet.shots.at(i);
}

int flagBox(const PlayerSheet& sheet, FlagControl control, int index) {
    return flagBox(const_cast<PlayerSheet&>(sheet), control, index);
}

void showSkills(const Record& loaded, PlayerSheet& sheet) {
    showRun(loaded, kRuns[0], sheet);
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
    storeRun(sheet, kRuns[0], working);
    working[kInjuryFreeOffset] = static_cast<std::uint8_t>(injuryFree);
}

void showShotFlags(const Record& loaded, PlayerSheet& sheet) {
    for (std::size_t i = 1; i < kRuns.size(); ++i) {
        showRun(loaded, kRuns[i], sheet);
    }
}

void storeShotFlags(const PlayerSheet& sheet, Record& working) {
    for (std::size_t i = 1; i < kRuns.size(); ++i) {
        storeRun(sheet, kRuns[i], working);
    }
}

} // namespace qb
