#pragma once
// Writing numbers as decimal text fast, for the check tool's lines: two numbers a game, for millions
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

// Writes the digits EightDigits packed, without their leading zeros (a zero keeps its one digit),
// and returns the end. Writes 8 bytes whatever the length.
inline char* PutWithoutLeadingZeros(char* to, std::uint64_t digits) {
    // The leading zeros are the lowest zero bytes.
    const int zeros = digits == 0 ? 7 : std::countr_zero(digits) / 8;
    const std::uint64_t text = (digits >> (8 * zeros)) + 0x3030'3030'3030'3030;  // '0' added to every byte
    std::memcpy(to, &text, 8);
    return to + 8 - zeros;
}

// Writes n without leading zeros at `to` and returns the end. Writes up to 24 bytes from `to`
// whatever the number's length; the bytes past the end it returns are left as any.
inline char* PutDecimal(char* to, std::uint64_t n) {
    constexpr std::uint64_t kEightDigits = 100'000'000;
    if (n < kEightDigits) return PutWithoutLeadingZeros(to, EightDigits(static_cast<std::uint32_t>(n)));
    if (n >= kEightDigits * kEightDigits) return std::to_chars(to, to + 24, n).ptr;
    to = PutWithoutLeadingZeros(to, EightDigits(static_cast<std::uint32_t>(n / kEightDigits)));
    const std::uint64_t low = EightDigits(static_cast<std::uint32_t>(n % kEightDigits)) + 0x3030'3030'3030'3030;
    std::memcpy(to, &low, 8);
    return to + 8;
}

}  // namespace tavrel
