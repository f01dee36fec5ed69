#include "codecs/bits.h"
#include "codecs/codec_errors.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(Bits, BinaryDigitTexts) {
    EXPECT_EQ(DecToBin(0), "");
    EXPECT_EQ(DecToBin(1), "1");
    EXPECT_EQ(DecToBin(5), "101");
    EXPECT_EQ(DecToBin(8), "1000");
    EXPECT_EQ(DecToBin(255), "11111111");
    EXPECT_EQ(DecToBin(0x8001), "1000000000000001");
    EXPECT_EQ(BinToDec(""), 0u);
    EXPECT_EQ(BinToDec("0001"), 1u);
    EXPECT_EQ(BinToDec("1000"), 8u);
    EXPECT_EQ(BinToDec("12"), 4u); // a "2" counts twice its weight
    EXPECT_EQ(BinToDec("1x1"), 5u);
}

TEST(Bits, BytesAndLongs) {
    EXPECT_EQ(BytesToLong(0x34, 0x12), 4660);
    EXPECT_EQ(BytesToLong(0xFF, 0xFF, 0xFF), 16777215);
    EXPECT_EQ(BytesToLong(5, 0), 5);
    std::uint8_t low = 9;
    std::uint8_t middle = 9;
    std::uint8_t high = 9;
    LongToBytes(4660, low, middle, high);
    EXPECT_EQ(low, 0x34);
    EXPECT_EQ(middle, 0x12);
    EXPECT_EQ(high, 0);
    EXPECT_THROW(LongToBytes(16777216, low, middle, high), StoreError);
    EXPECT_THROW(LongToBytes(-1, low, middle, high), StoreError);
}

TEST(Bits, SixBitGroups) {
    EXPECT_EQ(SplitSixBits(0), "00000000");
    EXPECT_EQ(SplitSixBits(-5), "00000000");
    EXPECT_EQ(SplitSixBits(100), "00000136");
    EXPECT_EQ(SplitSixBits(64), "00000100");
    EXPECT_EQ(SplitSixBits(16777215), "63636363");
    EXPECT_EQ(JoinSixBits("40302010"), 0xA1E50A);
    EXPECT_EQ(JoinSixBits("00000064"), 64); // carries into the next weight
    EXPECT_THROW(JoinSixBits("00a00000"), StoreError);
    for (std::int64_t x = 0; x <= 16777215; x += 997) {
        ASSERT_EQ(JoinSixBits(SplitSixBits(x)), x);
    }
    EXPECT_EQ(JoinSixBits(SplitSixBits(16777215)), 16777215);
}

} // namespace
} // namespace qb
