// The --headers lines' numbers: the packed digits must agree with std::to_chars at every length and
// at the edges where the number is split in two.

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

#include "tools/Decimal.h"

namespace tavrel {
namespace {

TEST(Decimal, WritesWhatToCharsWrites) {
    std::vector<std::uint64_t> numbers{0, 7, 10, 99, 100, 1000, 9999, 10000, 10001, 12345678, 99999999, 100000000,
                                       100000001, 1073742283, 9999999999999999, 10000000000000000,
                                       std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::uint64_t>::max()};
    for (std::uint64_t power = 1; power <= 1'000'000'000'000'000; power *= 10) {
        numbers.insert(numbers.end(), {power - 1, power, power + 1, power * 3 + 7});
    }
    for (const std::uint64_t n : numbers) {
        char expected[24];
        const std::string want(expected, std::to_chars(expected, expected + 24, n).ptr);
        char got[32];
        EXPECT_EQ(std::string(got, PutDecimal(got, n)), want);
    }
}

}  // namespace
}  // namespace tavrel
