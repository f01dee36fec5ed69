#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qb {

// Binary digit text of a value, most significant bit first, no leading zeros;
// 0 gives the empty text.
std::string binaryDigits(std::uint32_t value);

// The value of a binary digit text; the rightmost character has weight 1. A digit
// counts its decimal value (a "2" counts twice its weight), any other character 0.
std::uint32_t binaryValue(std::string_view digits);

// The three little-endian bytes of a value 0 to 16777215. A caller that needs two
// bytes passes a scratch byte for `high`. Values outside that range fail with "Overflow".
void storeLittleEndian(std::int64_t value, std::uint8_t& low, std::uint8_t& middle,
                       std::uint8_t& high);

// Four 6-bit groups of a 24-bit number as eight decimal digits, two per group, the
// group of bits 18-23 first: 100 gives "00000136". A value of 0 or below gives "00000000".
std::string sixBitGroupsText(std::int64_t value);

// G1 * 64^3 + G2 * 64^2 + G3 * 64 + G4 from the four two-digit groups of an
// eight-digit text. A group of 64 or more carries into the next weight.
std::int32_t sixBitGroupsValue(std::string_view text);

} // namespace qb
