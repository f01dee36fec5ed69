#include "codecs/bits.h"

#include "codecs/codec_errors.h"

namespace qb {

void storeLittleEndian(std::int64_t value, std::uint8_t& low, std::uint8_t& middle,
                       std::uint8_t& high) {
    if (value < 0 || value > 0xFFFFFF) {
        throw StoreError("", "Overflow");
    }
    high = static_cast<std::uint8_t>(value >> 16);
    middle = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    low = static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace qb
