#include "codecs/bits.h"
#include "codecs/codec_errors.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

// The nation and commentary fields pin the usual cases; these are the edges.
TEST(Bits, LittleEndianBytesRefuseWhatThreeBytesCannotHold) {
    std::uint8_t low = 9;
    std::uint8_t middle = 9;
    std::uint8_t high = 9;
    storeLittleEndian(4660, low, middle, high);
    EXPECT_EQ((std::array<int, 3>{low, middle, high}), (std::array<int, 3>{0x34, 0x12, 0}));
    EXPECT_THROW(storeLittleEndian(16777216, low, middle, high), StoreError);
    EXPECT_THROW(storeLittleEndian(-1, low, middle, high), StoreError);
}

} // namespace
} // namespace qb
