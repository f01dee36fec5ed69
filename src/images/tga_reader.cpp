#include "images/tga_reader.h"

#include "images/byte_reader.h"
#include "images/image_error.h"
#include "system/file_handle.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace qb {
namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr std::uint8_t kTopRowFirst = 0x20;
// One run packet of 1 + B bytes yields at most 128 pixels, so no file can encode
// more pixels than 128 per remaining byte; a header claiming more is refused.
constexpr std::uint64_t kPixelsPerByteAtMost = 128;

struct TgaHeader {
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 0;
    std::uint16_t colourMapLength = 0;
    std::uint8_t colourMapEntrySize = 0;
    std::int16_t xOrigin = 0;
    std::int16_t yOrigin = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::uint8_t depth = 0;
    std::uint8_t descriptor = 0;
};

TgaHeader readHeader(ByteReader& in) {
    TgaHeader h;
    h.idLength = in.u8();
    h.colourMapType = in.u8();
    h.imageType = in.u8();
    in.u16(); // first colour-map entry: entries are numbered from 0 here
    h.colourMapLength = in.u16();
    h.colourMapEntrySize = in.u8();
    h.xOrigin = in.s16();
    h.yOrigin = in.s16();
    h.width = in.s16();
    h.height = in.s16();
    h.depth = in.u8();
    h.descriptor = in.u8();
    return h;
}

bool isRunLength(std::uint8_t type) {
    return type == 9 || type == 10 || type == 11;
}

bool isGrey(std::uint8_t type) {
    return type == 3 || type == 11;
}

std::uint8_t fiveToEight(int value) {
    return static_cast<std::uint8_t>((value << 3) | (value >> 2));
}

// The 256-entry table (blue, green, red, 0) of an 8-bit image. Map entries of 24 and
// 32 bits are blue, green, red(, alpha); 15 and 16 bits are 5 bits each of red,
// green and blue, widened to 8 bits. Greyscale images get a grey ramp.
std::vector<std::uint8_t> colourTable(const TgaHeader& h, std::span<const std::uint8_t> map) {
    std::vector<std::uint8_t> table(1024, 0);
    if (isGrey(h.imageType) && h.colourMapType != 1) {
        for (std::size_t i = 0; i < 256; ++i) {
            table[4 * i] = table[4 * i + 1] = table[4 * i + 2] = static_cast<std::uint8_t>(i);
        }
        return table;
    }
    const std::size_t entryBytes = (h.colourMapEntrySize + 7u) / 8u;
    if (entryBytes == 0) {
        return table;
    }
    const std::size_t entries = std::min<std::size_t>(256, map.size() / entryBytes);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::uint8_t* entry = map.data() + i * entryBytes;
        std::uint8_t* out = table.data() + 4 * i;
        if (entryBytes >= 3) {
            out[0] = entry[0];
            out[1] = entry[1];
            out[2] = entry[2];
        } else if (entryBytes == 2) {
            const int v = entry[0] | (entry[1] << 8);
            out[0] = fiveToEight(v & 31);
            out[1] = fiveToEight((v >> 5) & 31);
            out[2] = fiveToEight((v >> 10) & 31);
        }
    }
    return table;
}

// The stored image, `storedWidth` pixels a row, cut or padded with zeros to W x H.
std::vector<std::uint8_t> cropped(const std::vector<std::uint8_t>& image, std::size_t storedWidth,
                                  std::size_t storedHeight, std::size_t width, std::size_t height,
                                  std::size_t bytesPerPixel) {
    if (width == storedWidth && height == storedHeight) {
        return image;
    }
    std::vector<std::uint8_t> out(width * height * bytesPerPixel, 0);
    const std::size_t rowCopy = std::min(width, storedWidth) * bytesPerPixel;
    for (std::size_t y = 0; y < std::min(height, storedHeight); ++y) {
        std::memcpy(out.data() + y * width * bytesPerPixel,
                    image.data() + y * storedWidth * bytesPerPixel, rowCopy);
    }
    return out;
}

Dib makeDib(const TgaHeader& h, std::vector<std::uint8_t> pixels, std::size_t width,
            std::size_t height, std::vector<std::uint8_t> table) {
    Dib dib;
    dib.width = static_cast<std::int32_t>(width);
    dib.height = static_cast<std::int32_t>(height);
    if ((h.descriptor & kTopRowFirst) != 0) {
        dib.height = -dib.height;
    }
    switch (h.depth) {
    case 8:
        dib.bitsPerPixel = 8;
        dib.colourTable = std::move(table);
        dib.pixels = padRowsToFourBytes(pixels, height, width);
        break;
    case 16:
        dib.bitsPerPixel = 16;
        dib.pixels = padRowsToFourBytes(pixels, height, 2 * width);
        break;
    default: { // 24 and 32 bits become blue, green, red, 0
        const std::size_t bytes = h.depth / 8u;
        dib.bitsPerPixel = 32;
        dib.pixels.assign(width * height * 4, 0);
        for (std::size_t i = 0; i < width * height; ++i) {
            std::memcpy(dib.pixels.data() + 4 * i, pixels.data() + bytes * i, 3);
        }
        break;
    }
    }
    return dib;
}

int twipsToPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

} // namespace

std::vector<std::uint8_t> decodeRunLength(std::span<const std::uint8_t> input, int bytesPerPixel,
                                          std::size_t pixels) {
    const auto b = static_cast<std::size_t>(bytesPerPixel);
    std::vector<std::uint8_t> out(pixels * b, 0);
    std::size_t written = 0;
    std::size_t read = 0;
    while (written < out.size() && read < input.size()) {
        const std::uint8_t packet = input[read++];
        if (packet <= 127) {
            const std::size_t wanted = (packet + 1u) * b;
            const std::size_t count = std::min({wanted, out.size() - written, input.size() - read});
            std::memcpy(out.data() + written, input.data() + read, count);
            written += count;
            read += count;
            if (count < wanted) {
                break;
            }
        } else {
            const std::size_t runs = packet - 127u;
            const std::size_t pixelBytes = std::min(b, input.size() - read);
            for (std::size_t i = 0; i < runs && written < out.size(); ++i) {
                const std::size_t count = std::min(pixelBytes, out.size() - written);
                std::memcpy(out.data() + written, input.data() + read, count);
                written += b;
            }
            written = std::min(written, out.size());
            read += pixelBytes;
            if (pixelBytes < b) {
                break;
            }
        }
    }
    return out;
}

std::vector<std::uint8_t> padRowsToFourBytes(std::span<const std::uint8_t> rows, std::size_t count,
                                             std::size_t length) {
    const std::size_t padded = (length + 3) / 4 * 4;
    std::vector<std::uint8_t> out(padded * count, 0);
    for (std::size_t row = 0; row < count; ++row) {
        const std::size_t start = row * length;
        if (start < rows.size()) {
            std::memcpy(out.data() + row * padded, rows.data() + start,
                        std::min(length, rows.size() - start));
        }
    }
    return out;
}

void TgaReader::load(const std::string& fileName) {
    // Read at most as much as the largest image could need, so a huge file is never slurped.
    constexpr std::int64_t kMostBytes = static_cast<std::int64_t>(kHeaderSize) + 255 + 65536 * 4 +
                                        std::int64_t{kMaxSide} * kMaxSide * 5;
    std::vector<std::uint8_t> bytes;
    try {
        const FileHandle file(fileName, OpenMode::Read, "reading");
        bytes.resize(static_cast<std::size_t>(std::min(file.size(), kMostBytes)));
        file.readAt(bytes.data(), bytes.size(), 0);
    } catch (const FileError& error) {
        throw ImageError(error.description(), fileName);
    }
    loadBytes(bytes, fileName);
}

void TgaReader::loadBytes(std::span<const std::uint8_t> file, const std::string& name) {
    bitmap_.reset();
    ByteReader in(file);
    if (file.size() < kHeaderSize) {
        throw ImageError(name + " is not a TGA file: it is shorter than the 18-byte header", name);
    }
    const TgaHeader h = readHeader(in);
    imageType_ = h.imageType;
    depth_ = h.depth;
    width_ = h.width - h.xOrigin;
    height_ = h.height - h.yOrigin;
    widthTwips_ = h.width * kTwipsPerPixel;
    heightTwips_ = h.height * kTwipsPerPixel;
    if (h.depth != 8 && h.depth != 16 && h.depth != 24 && h.depth != 32) {
        return; // no decoder for this depth: no bitmap
    }
    const auto inRange = [](std::int32_t side) { return side >= 1 && side <= kMaxSide; };
    if (!inRange(h.width) || !inRange(h.height) || !inRange(width_) || !inRange(height_)) {
        throw ImageError(name + ": image size " + std::to_string(width_) + " x " +
                             std::to_string(height_) + " (stored " + std::to_string(h.width) +
                             " x " + std::to_string(h.height) + ") is outside 1 to " +
                             std::to_string(kMaxSide),
                         name);
    }
    in.skip(h.idLength);
    std::span<const std::uint8_t> map;
    if (h.colourMapType == 1) {
        const std::size_t entryBytes = (h.colourMapEntrySize + 7u) / 8u;
        map = in.take(std::size_t{h.colourMapLength} * entryBytes);
    }
    const std::span<const std::uint8_t> data = in.take(in.remaining());

    const auto storedWidth = static_cast<std::size_t>(h.width);
    const auto storedHeight = static_cast<std::size_t>(h.height);
    const std::size_t bytesPerPixel = h.depth / 8u;
    const std::uint64_t pixels = std::uint64_t{storedWidth} * storedHeight;
    if (pixels > (data.size() + 1) * kPixelsPerByteAtMost) {
        throw ImageError(name + ": the header promises " + std::to_string(pixels) +
                             " pixels, more than its " + std::to_string(data.size()) +
                             " bytes of image data could hold",
                         name);
    }
    std::vector<std::uint8_t> image;
    if (isRunLength(h.imageType)) {
        image = decodeRunLength(data, static_cast<int>(bytesPerPixel), pixels);
    } else {
        // Missing pixels of a truncated file are black.
        image.assign(pixels * bytesPerPixel, 0);
        std::memcpy(image.data(), data.data(), std::min(image.size(), data.size()));
    }
    const auto width = static_cast<std::size_t>(width_);
    const auto height = static_cast<std::size_t>(height_);
    image = cropped(image, storedWidth, storedHeight, width, height, bytesPerPixel);
    std::vector<std::uint8_t> table =
        h.depth == 8 ? colourTable(h, map) : std::vector<std::uint8_t>{};
    bitmap_ = makeDib(h, std::move(image), width, height, std::move(table));
}

void TgaReader::draw(DrawTarget& target) const {
    target.clear();
    if (autoscale_) {
        target.setOuterSize(width_ * kTwipsPerPixel, height_ * kTwipsPerPixel);
    }
    int destinationWidth = 0;
    int destinationHeight = 0;
    if (target.innerHeight() != target.outerHeight()) {
        // A bordered target: draw at its outer size, then grow it by its border so the
        // drawing area takes that size.
        destinationWidth = twipsToPixels(target.outerWidth());
        destinationHeight = twipsToPixels(target.outerHeight());
        target.setOuterSize(2 * target.outerWidth() - target.innerWidth(),
                            2 * target.outerHeight() - target.innerHeight());
    } else {
        destinationWidth = twipsToPixels(target.innerWidth());
        destinationHeight = twipsToPixels(target.innerHeight());
    }
    if (bitmap_) {
        target.drawStretched(*bitmap_, destinationWidth, destinationHeight);
    }
    target.keepPicture();
}

std::int32_t TgaReader::width() const {
    return scaleMode_ == 0 ? width_ : scaleMode_ == 1 ? widthTwips_ : 0;
}

std::int32_t TgaReader::height() const {
    return scaleMode_ == 0 ? height_ : scaleMode_ == 1 ? heightTwips_ : 0;
}

bool TgaReader::isCompressed() const {
    return isRunLength(imageType_);
}

bool TgaReader::isTga() const {
    constexpr std::array<int, 8> kTypes = {1, 2, 3, 9, 10, 11, 32, 33};
    const bool knownType = std::find(kTypes.begin(), kTypes.end(), imageType_) != kTypes.end();
    return knownType && (depth_ == 8 || depth_ == 16 || depth_ == 24 || depth_ == 32);
}

} // namespace qb
