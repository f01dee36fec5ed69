#pragma once

#include <cstdint>

namespace qb {

// The three little-endian bytes of a value 0 to 16777215. A caller that needs two
// bytes passes a scratch byte for `high`. Values outside that range fail with "Overflow".
void storeLittleEndian(std::int64_t value, std::uint8_t& low, std::uint8_t& middle,
                       std::uint8_t& high);

} // namespace qb
