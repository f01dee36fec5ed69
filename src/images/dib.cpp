#include "images/dib.h"

#include <cstdlib>

namespace qb {

std::size_t Dib::rowBytes() const {
    const std::size_t bits = static_cast<std::size_t>(std::abs(width)) * bitsPerPixel;
    return (bits + 31) / 32 * 4;
}

void appendLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

std::vector<std::uint8_t> Dib::infoHeader() const {
    std::vector<std::uint8_t> header;
    appendLittleEndian(header, 40, 4);
    appendLittleEndian(header, static_cast<std::uint32_t>(width), 4);
    appendLittleEndian(header, static_cast<std::uint32_t>(height), 4);
    appendLittleEndian(header, 1, 2);
    appendLittleEndian(header, bitsPerPixel, 2);
    header.resize(40, 0); // compression and the remaining fields are 0
    return header;
}

std::vector<std::uint8_t> bmpFileBytes(const Dib& dib) {
    constexpr std::uint32_t kFileHeaderSize = 14;
    const auto pixelOffset =
        static_cast<std::uint32_t>(kFileHeaderSize + 40 + dib.colourTable.size());
    std::vector<std::uint8_t> out = {'B', 'M'};
    appendLittleEndian(out, pixelOffset + static_cast<std::uint32_t>(dib.pixels.size()), 4);
    appendLittleEndian(out, 0, 4);
    appendLittleEndian(out, pixelOffset, 4);
    const std::vector<std::uint8_t> info = dib.infoHeader();
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), dib.colourTable.begin(), dib.colourTable.end());
    out.insert(out.end(), dib.pixels.begin(), dib.pixels.end());
    return out;
}

} // namespace qb
