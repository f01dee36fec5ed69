#pragma once

#include "images/dib.h"
#include "images/draw_target.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qb {

// Reads Truevision TGA images (colour-mapped 8 bits; true colour 16, 24 and 32 bits;
// greyscale 8 bits; plain or run-length encoded) into a device-independent bitmap.
// The file is untrusted: every read is bounded, sizes are checked in 64-bit
// arithmetic, and nothing is allocated for a header whose promises the file cannot keep.
class TgaReader {
public:
    // Neither side of an image may exceed this; the game's textures are far smaller.
    static constexpr int kMaxSide = 4096;

    // Reads and decodes a file. Fails with ImageError when the file cannot be read
    // or its header is refused; an unknown pixel depth makes no bitmap and no error.
    void load(const std::string& fileName);
    // The same, from the bytes of a file.
    void loadBytes(std::span<const std::uint8_t> file, const std::string& name);

    // Clears the target, sizes it to the image when autoscale is on, and draws the
    // bitmap stretched to the target's drawing area.
    void draw(DrawTarget& target) const;

    // Width and height in pixels (scaleMode 0) or twips (scaleMode 1); 0 otherwise.
    std::int32_t width() const;
    std::int32_t height() const;
    bool isCompressed() const;
    std::int16_t pixelDepth() const { return depth_; }
    bool isTga() const;
    std::int16_t scaleMode() const { return scaleMode_; }
    // Any value above 0 is stored as 1.
    void setScaleMode(std::int16_t value) { scaleMode_ = value > 0 ? 1 : value; }
    bool autoscale() const { return autoscale_; }
    void setAutoscale(bool value) { autoscale_ = value; }

    const std::optional<Dib>& bitmap() const { return bitmap_; }

private:
    std::uint8_t imageType_ = 0;
    std::int16_t depth_ = 0;
    std::int32_t width_ = 0;  // W: stored width minus x-origin
    std::int32_t height_ = 0; // H: stored height minus y-origin
    std::int32_t widthTwips_ = 0;
    std::int32_t heightTwips_ = 0;
    std::int16_t scaleMode_ = 1;
    bool autoscale_ = true;
    std::optional<Dib> bitmap_;
};

// The run-length scheme of TGA: packet byte h <= 127 is a raw packet of h + 1 pixels,
// h >= 128 a run of h - 127 copies of one pixel. The output is exactly `pixels` x
// `bytesPerPixel` bytes, zero-filled; a packet running past the output is cut, one
// running past the input copies what is there, and decoding stops.
std::vector<std::uint8_t> decodeRunLength(std::span<const std::uint8_t> input, int bytesPerPixel,
                                          std::size_t pixels);

// Rows of `length` bytes padded with zeros to a multiple of 4.
std::vector<std::uint8_t> padRowsToFourBytes(std::span<const std::uint8_t> rows, std::size_t count,
                                             std::size_t length);

} // namespace qb
