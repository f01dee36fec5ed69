#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace qb {

// A picture to write as TGA: `width` x `height` colours (blue, green, red, alpha),
// top row first.
struct TgaPicture {
    int width = 0;
    int height = 0;
    std::vector<std::array<std::uint8_t, 4>> colours;
};

struct TgaWriteOptions {
    int depth = 24;         // 8 (colour-mapped, 24-bit map entries), 16, 24 or 32
    bool runLength = false; // image type 9 or 10 instead of 1 or 2
    bool topRowFirst = false;
};

// Encodes a picture as a TGA file. For 8 bits the picture may hold at most 256
// distinct colours; 16 bits keep 5 bits of each component.
std::vector<std::uint8_t> encodeTga(const TgaPicture& picture, const TgaWriteOptions& options);

} // namespace qb
