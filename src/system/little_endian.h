#pragma once

#include <cstdint>

namespace qb {

// The unsigned value of `count` bytes (1 to 4) stored lowest byte first, as every
// number in the roster, the face archive and the picture files is.
constexpr std::uint32_t littleEndian(const std::uint8_t* bytes, int count) {
    std::uint32_t value = 0;
    for (int at = count - 1; at >= 0; --at) {
        value = (value << 8) | bytes[at];
    }
    return value;
}

} // namespace qb
