#include "images/tga_writer.h"

#include "images/dib.h"

#include <algorithm>
#include <stdexcept>

namespace qb {
namespace {

using Colour = std::array<std::uint8_t, 4>;

std::vector<std::uint8_t> pixelBytes(const Colour& c, int depth,
                                     const std::vector<Colour>& palette) {
    switch (depth) {
    case 8:
        return {static_cast<std::uint8_t>(std::find(palette.begin(), palette.end(), c) -
                                          palette.begin())};
    case 16: {
        const int v = ((c[2] >> 3) << 10) | ((c[1] >> 3) << 5) | (c[0] >> 3);
        return {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)};
    }
    case 24:
        return {c[0], c[1], c[2]};
    default:
        return {c[0], c[1], c[2], c[3]};
    }
}

// Runs of equal pixels become run packets, everything else raw packets, at most 128 each.
void appendRunLength(std::vector<std::uint8_t>& out,
                     const std::vector<std::vector<std::uint8_t>>& pixels) {
    std::size_t i = 0;
    while (i < pixels.size()) {
        std::size_t run = 1;
        while (i + run < pixels.size() && run < 128 && pixels[i + run] == pixels[i]) {
            ++run;
        }
        if (run > 1) {
            out.push_back(static_cast<std::uint8_t>(127 + run));
            out.insert(out.end(), pixels[i].begin(), pixels[i].end());
            i += run;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < pixels.size() && raw < 128 &&
               (i + raw + 1 >= pixels.size() || pixels[i + raw] != pixels[i + raw + 1])) {
            ++raw;
        }
        out.push_back(static_cast<std::uint8_t>(raw - 1));
        for (std::size_t k = 0; k < raw; ++k) {
            out.insert(out.end(), pixels[i + k].begin(), pixels[i + k].end());
        }
        i += raw;
    }
}

} // namespace

std::vector<std::uint8_t> encodeTga(const TgaPicture& picture, const TgaWriteOptions& options) {
    std::vector<Colour> palette;
    if (options.depth == 8) {
        for (const Colour& c : picture.colours) {
            if (std::find(palette.begin(), palette.end(), c) == palette.end()) {
                palette.push_back(c);
            }
        }
        if (palette.size() > 256) {
            throw std::invalid_argument("more than 256 colours for an 8-bit TGA");
        }
    }
    const bool mapped = options.depth == 8;
    std::vector<std::uint8_t> out;
    out.push_back(0);              // no image ID
    out.push_back(mapped ? 1 : 0); // colour map type
    out.push_back(static_cast<std::uint8_t>((mapped ? 1 : 2) + (options.runLength ? 8 : 0)));
    appendLittleEndian(out, 0, 2); // first map entry
    appendLittleEndian(out, static_cast<std::uint32_t>(palette.size()), 2);
    out.push_back(mapped ? 24 : 0); // map entry size
    appendLittleEndian(out, 0, 4);  // origin
    appendLittleEndian(out, static_cast<std::uint32_t>(picture.width), 2);
    appendLittleEndian(out, static_cast<std::uint32_t>(picture.height), 2);
    out.push_back(static_cast<std::uint8_t>(options.depth));
    out.push_back(static_cast<std::uint8_t>((options.topRowFirst ? 0x20 : 0) |
                                            (options.depth == 32 ? 8 : 0)));
    for (const Colour& c : palette) {
        out.insert(out.end(), {c[0], c[1], c[2]});
    }
    std::vector<std::vector<std::uint8_t>> pixels;
    for (int row = 0; row < picture.height; ++row) {
        const int y = options.topRowFirst ? row : picture.height - 1 - row;
        for (int x = 0; x < picture.width; ++x) {
            pixels.push_back(
                pixelBytes(picture.colours[static_cast<std::size_t>(y * picture.width + x)],
                           options.depth, palette));
        }
    }
    if (options.runLength) {
        appendRunLength(out, pixels);
    } else {
        for (const auto& p : pixels) {
            out.insert(out.end(), p.begin(), p.end());
        }
    }
    return out;
}

} // namespace qb
