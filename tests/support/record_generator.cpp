#include "support/record_generator.h"

#include <algorithm>
#include <string>

namespace qb::test {

int RecordGenerator::below(int bound) {
    return static_cast<int>(random_() % static_cast<unsigned>(bound));
}

Record RecordGenerator::player() {
    Record r{};
    for (auto& byte : r) {
        byte = static_cast<std::uint8_t>(below(256));
    }
    const auto put = [&r](int offset, int value) {
        r[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value);
    };
    // Name: 1-16 characters without surrounding spaces; the bytes after its NUL stay random.
    const int length = 1 + below(16);
    for (int i = 0; i < length; ++i) {
        put(OFFSET_NAME + i, i == 0 || i == length - 1 ? 'A' + below(26) : 0x21 + below(0xDF));
    }
    if (length < 16) {
        put(OFFSET_NAME + length, 0);
    }
    const int commentary = below(1016);
    put(2, commentary & 0xFF);
    put(3, commentary >> 8);
    const int nation = 1 << below(14);
    put(216, nation & 0xFF);
    put(217, nation >> 8);
    // Statistics: 16-bit figures below 32768, highest scores shown without complement,
    // First Class wickets below 16.
    for (int format = 0; format < 4; ++format) {
        for (int k = 0; k < 6; ++k) {
            put(21 + 14 * format + 2 * k, below(128));
        }
    }
    put(118, r[118] & 0xFC);
    put(119, below(10));
    put(122, (r[122] & 0xE0) | below(10));
    put(121, r[121] & 0xFC);
    put(125, (r[125] & 0xF8) | below(5));
    put(127, below(201));
    put(129, r[129] & 0xFC);
    put(89, r[89] & 0xFB);
    // Ratings: whole-byte ratings and Consistency within 0-63.
    for (const int offset : {79, 83, 91, 95, 99, 112}) {
        put(offset, below(64));
    }
    // Roles: codes the lists show; bits 4-6 of 106 only beside the position bit.
    const bool positionBit = below(2) == 1;
    put(106, positionBit ? 0x80 | (r[106] & 0x73) : below(4));
    constexpr int kStyleCodes[] = {0, 1, 8, 9, 16, 17};
    put(107, kStyleCodes[below(6)]);
    put(108, below(3) * 16 + below(10));
    put(110, (r[110] & 0xF0) | below(4));
    // Skills and appearance.
    put(198, below(3));
    put(205, below(25));
    put(206, below(12));
    constexpr int kHairCodes[] = {0, 1, 2, 8};
    put(207, kHairCodes[below(4)]);
    put(208, below(13));
    put(209, below(6));
    put(210, below(34));
    return r;
}

RosterMaker generatedPlayers(unsigned seed, int count) {
    RecordGenerator generator(seed);
    RosterMaker maker;
    for (int slot = 0; slot < count; ++slot) {
        Record r = generator.player();
        const std::string name = "P" + std::to_string(slot);
        std::fill_n(r.begin() + OFFSET_NAME, NAME_BYTES, 0);
        std::copy(name.begin(), name.end(), r.begin() + OFFSET_NAME);
        r[OFFSET_ID] = static_cast<std::uint8_t>(100 + slot);
        r[OFFSET_ID + 1] = 0;
        maker.record(slot, r);
    }
    return maker;
}

} // namespace qb::test
