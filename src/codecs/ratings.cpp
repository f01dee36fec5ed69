#include "codecs/ratings.h"

#include "codecs/bits.h"
#include "codecs/codec_errors.h"
#include "codecs/identity.h"
#include "system/little_endian.h"

#include <string>

namespace qb {
namespace {

int storedRating(const Record& r, const RatingLocation& location) {
    const auto at = [&r](int offset) { return int{r[static_cast<std::size_t>(offset)]}; };
    switch (location.storage) {
    case RatingStorage::Group:
        return static_cast<int>(
            (littleEndian(&r[static_cast<std::size_t>(location.offset)], 3) >> location.shift) &
            63);
    case RatingStorage::Byte:
        return at(location.offset);
    case RatingStorage::ByteBits:
        return (at(location.offset) >> location.shift) & 63;
    case RatingStorage::Speed:
        return at(110) / 16 + (at(111) & 3) * 16;
    case RatingStorage::Temperament:
        return (at(105) & 15) * 4 + at(104) / 64;
    case RatingStorage::Consistency:
        return at(105) / 16 + (at(106) & 15) * 16;
    }
    return 0;
}

// ratingPercent's table for 0-63; it is not a formula (8 gives 12, 62 and 63 give 100).
constexpr std::array<int, 64> kPercent = {
    0,  2,  4,  6,  7,  8,  10, 11, 12, 14, 16, 17, 19, 21, 23, 24, 25, 26, 28,  29, 31, 32,
    34, 35, 37, 38, 40, 41, 43, 44, 46, 47, 49, 50, 52, 54, 55, 57, 59, 60, 62,  64, 65, 67,
    69, 70, 72, 74, 75, 77, 79, 80, 82, 84, 86, 88, 90, 92, 94, 96, 98, 99, 100, 100};

} // namespace

int& ratingSlider(PlayerSheet& sheet, RatingTab tab, int index) {
    const auto i = static_cast<std::size_t>(index);
    switch (tab) {
    case RatingTab::Batting:
        return sheet.battingRatings.at(i);
    case RatingTab::Bowling:
        return sheet.bowlingRatings.at(i);
    case RatingTab::Fielding:
        break;
    }
    return sheet.fieldingRatings.at(i);
}

int ratingSlider(const PlayerSheet& sheet, RatingTab tab, int index) {
    return ratingSlider(const_cast<PlayerSheet&>(sheet), tab, index);
}

void showRatings(const Record& loaded, PlayerSheet& sheet) {
    for (const RatingLocation& location : kRatingLocations) {
        const int value = storedRating(loaded, location);
        if (value > kMaxRating) {
            throw ShowError(ratingKey(location), std::string(kInvalidPropertyValue));
        }
        ratingSlider(sheet, location.tab, location.index) = value;
    }
}

void repairRatings(Record& record, FieldRepairs& repairs) {
    for (const RatingLocation& location : kRatingLocations) {
        const int value = storedRating(record, location);
        if (value <= kMaxRating) {
            continue;
        }
        repairs.push_back({ratingKey(location), std::to_string(value), std::to_string(kMaxRating)});
        // Only a whole byte and Consistency (byte 105 bits 4-7, byte 106 bits 0-3) have room
        // for more than six bits; every other rating is read from six bits.
        if (location.storage == RatingStorage::Consistency) {
            record[105] = static_cast<std::uint8_t>((record[105] & 0x0F) | (kMaxRating % 16) << 4);
            record[106] = static_cast<std::uint8_t>((record[106] & 0xF0) | kMaxRating / 16);
        } else {
            record[static_cast<std::size_t>(location.offset)] = kMaxRating;
        }
    }
}

void requireRatingsInRange(const PlayerSheet& sheet) {
    for (const RatingLocation& location : kRatingLocations) {
        const int value = ratingSlider(sheet, location.tab, location.index);
        if (value < 0 || value > kMaxRating) {
            throw StoreError(ratingKey(location), std::string(location.caption) + " must be 0 to " +
                                                      std::to_string(kMaxRating));
        }
    }
}

void storeRatings(const PlayerSheet& sheet, Record& working) {
    requireRatingsInRange(sheet);
    // Each 24-bit group holds four six-bit ratings and nothing else: it is written whole.
    constexpr std::array<int, 6> kGroups = {76, 80, 84, 92, 96, 100};
    for (const int group : kGroups) {
        std::uint32_t bits = 0;
        for (const RatingLocation& location : kRatingLocations) {
            if (location.storage == RatingStorage::Group && location.offset == group) {
                bits |=
                    static_cast<std::uint32_t>(ratingSlider(sheet, location.tab, location.index))
                    << location.shift;
            }
        }
        const auto g = static_cast<std::size_t>(group);
        storeLittleEndian(bits, working[g], working[g + 1], working[g + 2]);
    }
    // Whole bytes, and bytes whose other bits are written 0 (90 bits 0-1, 103 bits 6-7).
    // Byte 111 also takes Speed's bits 4-5 in its bits 0-1.
    working[111] = static_cast<std::uint8_t>(sheet.fieldingRatings[kSpeedRating] / 16);
    for (const RatingLocation& location : kRatingLocations) {
        const auto offset = static_cast<std::size_t>(location.offset);
        const int value = ratingSlider(sheet, location.tab, location.index);
        if (location.storage == RatingStorage::Byte) {
            working[offset] = static_cast<std::uint8_t>(value);
        } else if (location.storage == RatingStorage::ByteBits) {
            const int kept = location.offset == 111 ? working[offset] : 0;
            working[offset] = static_cast<std::uint8_t>(kept | (value << location.shift));
        }
    }
}

int ratingPercent(int rating) {
    int v = rating;
    if (v > 64) {
        v %= 64;
    }
    if (v < 4) {
        return 2 * v;
    }
    return v < 64 ? kPercent[static_cast<std::size_t>(v)] : 0;
}

} // namespace qb
