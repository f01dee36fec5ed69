#pragma once

#include "images/tga_reader.h"

#include <array>
#include <cstdlib>
#include <vector>

namespace qb::test {

// Our bitmap as red, green, blue bytes, top row first.
inline std::vector<std::uint8_t> rgbOf(const Dib& dib) {
    std::vector<std::uint8_t> out;
    const int height = std::abs(dib.height);
    for (int y = 0; y < height; ++y) {
        const int row = dib.height < 0 ? y : height - 1 - y;
        const std::uint8_t* p = dib.pixels.data() + static_cast<std::size_t>(row) * dib.rowBytes();
        for (int x = 0; x < dib.width; ++x) {
            std::array<int, 3> bgr{};
            if (dib.bitsPerPixel == 8) {
                const std::uint8_t* c = dib.colourTable.data() + 4u * p[x];
                bgr = {c[0], c[1], c[2]};
            } else if (dib.bitsPerPixel == 16) {
                const int v = p[2 * x] | (p[2 * x + 1] << 8);
                const auto widen = [](int five) { return (five << 3) | (five >> 2); };
                bgr = {widen(v & 31), widen((v >> 5) & 31), widen((v >> 10) & 31)};
            } else {
                bgr = {p[4 * x], p[4 * x + 1], p[4 * x + 2]};
            }
            out.insert(out.end(),
                       {static_cast<std::uint8_t>(bgr[2]), static_cast<std::uint8_t>(bgr[1]),
                        static_cast<std::uint8_t>(bgr[0])});
        }
    }
    return out;
}

} // namespace qb::test
