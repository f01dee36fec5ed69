#include "codecs/bits.h"

#include "codecs/codec_errors.h"

namespace qb {

std::string binaryDigits(std::uint32_t value) {
    char digits[32];
    int start = 32;
    for (; value != 0; value >>= 1) {
        digits[--start] = (value & 1u) != 0 ? '1' : '0';
    }
    return {digits + start, digits + 32};
}

std::uint32_t binaryValue(std::string_view digits) {
    std::uint32_t total = 0;
    for (const char ch : digits) {
        const std::uint32_t digit =
            ch >= '0' && ch <= '9' ? static_cast<std::uint32_t>(ch - '0') : 0;
        total = total * 2 + digit;
    }
    return total;
}

void storeLittleEndian(std::int64_t value, std::uint8_t& low, std::uint8_t& middle,
                       std::uint8_t& high) {
    if (value < 0 || value > 0xFFFFFF) {
        throw StoreError("", "Overflow");
    }
    high = static_cast<std::uint8_t>(value >> 16);
    middle = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    low = static_cast<std::uint8_t>(value & 0xFF);
}

std::string sixBitGroupsText(std::int64_t value) {
    std::string text = "00000000";
    if (value <= 0) {
        return text;
    }
    // Four groups are all a 24-bit value has; higher digits would not fit eight characters.
    for (int group = 0; group < 4; ++group) {
        const auto sixBits = static_cast<int>((value >> (6 * (3 - group))) & 63);
        text[static_cast<std::size_t>(2 * group)] = static_cast<char>('0' + sixBits / 10);
        text[static_cast<std::size_t>(2 * group + 1)] = static_cast<char>('0' + sixBits % 10);
    }
    return text;
}

std::int32_t sixBitGroupsValue(std::string_view text) {
    std::int32_t total = 0;
    for (std::size_t group = 0; group < 4; ++group) {
        const std::string_view pair = text.substr(2 * group, 2);
        if (pair.size() != 2 || pair[0] < '0' || pair[0] > '9' || pair[1] < '0' || pair[1] > '9') {
            throw StoreError("", "Type mismatch");
        }
        total = total * 64 + (pair[0] - '0') * 10 + (pair[1] - '0');
    }
    return total;
}

} // namespace qb
