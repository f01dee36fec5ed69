#pragma once

#include <cstdint>
#include <span>

namespace qb {

// Reads little-endian values from a byte span without ever leaving it: reads past
// the end give 0 and take() returns only what is there. Every parse of untrusted
// bytes goes through one of these.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t position() const noexcept { return position_; }
    std::size_t remaining() const noexcept { return bytes_.size() - position_; }

    std::uint8_t u8() { return remaining() >= 1 ? bytes_[position_++] : std::uint8_t{0}; }
    std::uint16_t u16() {
        const std::uint8_t low = u8();
        return static_cast<std::uint16_t>(low | (u8() << 8));
    }
    std::int16_t s16() { return static_cast<std::int16_t>(u16()); }

    void skip(std::size_t count) { position_ += count < remaining() ? count : remaining(); }

    // Up to `count` bytes from the current position.
    std::span<const std::uint8_t> take(std::size_t count) {
        const std::size_t available = count < remaining() ? count : remaining();
        const auto piece = bytes_.subspan(position_, available);
        position_ += available;
        return piece;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

} // namespace qb
