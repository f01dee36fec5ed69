#include "codecs/bits.h"
#include "codecs/codec_errors.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

// The flag, rating and number fields pin the usual cases; these are the edges.
TEST(Bits, BinaryDigitTextsBytesAndSixBitGroups) {
    EXPECT_EQ(DecToBin(0), "");
    EXPECT_EQ(DecToBin(0x8001), "1000000000000001");
    EXPECT_EQ(BinToDec("12"), 4u); // a "2" counts twice its weight
    EXPECT_EQ(BinToDec("1x1"), 5u);
    std::uint8_t low = 9;
    std::uint8_t middle = 9;
    std::uint8_t high = 9;
    LongToBytes(4660, low, middle, high);
    EXPECT_EQ((std::array<int, 3>{low, middle, high}), (std::array<int, 3>{0x34, 0x12, 0}));
    EXPECT_THROW(LongToBytes(16777216, low, middle, high), StoreError);
    EXPECT_THROW(LongToBytes(-1, low, middle, high), StoreError);
    EXPECT_EQ(SplitSixBits(0), "00000000");
    EXPECT_EQ(SplitSixBits(-5), "00000000");
    EXPECT_EQ(SplitSixBits(100), "00000136");
    EXPECT_EQ(SplitSixBits(64), "00000100");
    EXPECT_EQ(SplitSixBits(16777215), "63636363");
    EXPECT_EQ(JoinSixBits("40302010"), 0xA1E50A);
    EXPECT_EQ(JoinSixBits("00000064"), 64); // carries into the next weight
    EXPECT_THROW(JoinSixBits("00a00000"), StoreError);
}

} // namespace
} // namespace qb
