#pragma once
// Writing numbers as decimal text fast, for the --headers lines: two numbers a game, for millions
// of short games, where std::to_chars's division per pair of digits showed up in the profile.

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace tavrel {

// The eight decimal digits of n < 10^8, the first in the lowest byte, as values 0 to 9. The
// halves, their pairs and the pairs' digits each come from one multiply over the packed word,
// instead of a division per digit waiting on the one before.
constexpr std::uint64_t EightDigits(std::uint32_t n) {
    const std::uint64_t halves = n / 10000 | std::uint64_t{n % 10000} << 32;
    // x * 10486 >> 20 is x / 100 for x below 10^4, and x * 103 >> 10 is x / 10 for x below 100.
    const std::uint64_t hundreds = (halves * 10486 >> 20) & 0x0000'007F'0000'007F;
    const std::uint64_t pairs = hundreds | (halves - 100 * hundreds) << 16;
    const std::uint64_t tens = (pairs * 103 >> 10) & 0x000F'000F'000F'000F;
    return tens | (pairs - 10 * tens) << 8;
}

static_assert(std::endian::native == std::endian::little, "the digits are stored lowest byte first");

// Writes n without leading zeros at `to` and returns the end. Writes up to 24 bytes from `to`
// whatever the number's length; the bytes past the end it returns are left as any.
inline char* PutDecimal(char* to, std::uint64_t n) {
    constexpr std::uint64_t kEightDigits = 100'000'000;
    constexpr std::uint64_t kZeros = 0x3030'3030'3030'3030;  // '0' in every byte
    if (n >= kEightDigits * kEightDigits) return std::to_chars(to, to + 24, n).ptr;
    const auto high = static_cast<std::uint32_t>(n / kEightDigits);
    const auto low = static_cast<std::uint32_t>(n % kEightDigits);
    // The leading part: the high eight digits when there are any, else the low ones; its leading
    // zeros are its lowest zero bytes, and a zero keeps its one digit.
    const std::uint64_t lead = EightDigits(high != 0 ? high : low);
    const int zeros = lead == 0 ? 7 : std::countr_zero(lead) / 8;
    const std::uint64_t text = (lead >> (8 * zeros)) + kZeros;
    std::memcpy(to, &text, 8);
    to += 8 - zeros;
    if (high == 0) return to;
    const std::uint64_t rest = EightDigits(low) + kZeros;
    std::memcpy(to, &rest, 8);
    return to + 8;
}

}  // namespace tavrel
