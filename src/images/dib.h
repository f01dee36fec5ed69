#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qb {

// A device-independent bitmap as the TGA reader makes it: the fields of the 40-byte
// information header that vary, a 256-entry colour table (blue, green, red, 0) for
// 8 bits per pixel, and rows padded to a multiple of 4 bytes.
struct Dib {
    std::int32_t width = 0;
    std::int32_t height = 0; // negative when the first stored row is the top row
    std::uint16_t bitsPerPixel = 0;
    std::vector<std::uint8_t> colourTable; // 1024 bytes for 8 bits per pixel, else empty
    std::vector<std::uint8_t> pixels;

    std::size_t rowBytes() const;
    // The 40-byte information header: size 40, width, height, planes 1, bits per
    // pixel, compression 0 and five zero fields.
    std::vector<std::uint8_t> infoHeader() const;
};

// A Windows bitmap file of the bitmap: the 14-byte file header ("BM", file size, two
// zero fields, offset of the pixels), the information header, the colour table, the rows.
std::vector<std::uint8_t> bmpFileBytes(const Dib& dib);

// Appends `value` as `bytes` little-endian bytes.
void appendLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes);

} // namespace qb
