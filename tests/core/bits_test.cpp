#include "codecs/bits.h"
#include "codecs/codec_errors.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

// The flag, rating and number fields pin the usual cases; these are the edges.
TEST(Bits, BinaryDigitTextsBytesAndSixBitGroups) {
    EXPECT_EQ(binaryDigits(0), "");
    EXPECT_EQ(binaryDigits(0x8001), "1000000000000001");
    EXPECT_EQ(binaryValue("12"), 4u); // a "2" counts twice its weight
    EXPECT_EQ(binaryValue("1x1"), 5u);
    std::uint8_t low = 9;
    std::uint8_t middle = 9;
    std::uint8_t high = 9;
    storeLittleEndian(4660, low, middle, high);
    EXPECT_EQ((std::array<int, 3>{low, middle, high}), (std::array<int, 3>{0x34, 0x12, 0}));
    EXPECT_THROW(storeLittleEndian(16777216, low, middle, high), StoreError);
    EXPECT_THROW(storeLittleEndian(-1, low, middle, high), StoreError);
    EXPECT_EQ(sixBitGroupsText(0), "00000000");
    EXPECT_EQ(sixBitGroupsText(-5), "00000000");
    EXPECT_EQ(sixBitGroupsText(100), "00000136");
    EXPECT_EQ(sixBitGroupsText(64), "00000100");
    EXPECT_EQ(sixBitGroupsText(16777215), "63636363");
    EXPECT_EQ(sixBitGroupsValue("40302010"), 0xA1E50A);
    EXPECT_EQ(sixBitGroupsValue("00000064"), 64); // carries into the next weight
    EXPECT_THROW(sixBitGroupsValue("00a00000"), StoreError);
}

} // namespace
} // namespace qb
