#include "decimal/shortest_decimal.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace plof {
namespace {

// What every build wrote before fmt: libstdc++'s std::to_chars, the reference.
std::string toChars(double value) {
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string shortest(double value) {
    char text[kShortestDecimalRoom];
    const std::size_t length = shortestDecimal(value, text);
    EXPECT_EQ(text[length], '\0');
    return std::string(text, length);
}

TEST(ShortestDecimal, LaysOutEachNotationAsToChars) {
    EXPECT_EQ(shortest(0.1), "0.1");
    EXPECT_EQ(shortest(100000.0), "1e+05");  // scientific when strictly shorter
    EXPECT_EQ(shortest(10000.0), "10000");   // fixed on a tie of lengths
    EXPECT_EQ(shortest(0.0001), "1e-04");
    EXPECT_EQ(shortest(0.00012), "0.00012");  // a tie again: "1.2e-04"
    EXPECT_EQ(shortest(1e-7), "1e-07");
    EXPECT_EQ(shortest(-0.0), "-0");
    EXPECT_EQ(shortest(123.456), "123.456");
    EXPECT_EQ(shortest(1e308), "1e+308");
    EXPECT_EQ(shortest(-2.2250738585072014e-308), "-2.2250738585072014e-308");
    EXPECT_EQ(shortest(std::ldexp(1.0, 70)), "1180591620717411303424");  // exact digits, not ...300000
    EXPECT_EQ(shortest(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(shortest(std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(shortest(-std::numeric_limits<double>::quiet_NaN()), "-nan");
}

// Every kind of double: any bit pattern, every power of two, short decimals
// at every scale around the switch between the notations, and integers
// beyond 2^53 whose fixed form shows exact digits.
TEST(ShortestDecimal, EqualsToCharsOnEveryKindOfDouble) {
    std::mt19937_64 random(27);
    int differences = 0;
    auto compare = [&](double value) {
        if (shortest(value) != toChars(value) && ++differences <= 10) {
            ADD_FAILURE() << toChars(value) << " is written " << shortest(value);
        }
    };
    for (int i = 0; i < 300000; ++i) compare(std::bit_cast<double>(random()));
    for (int e = -1074; e <= 1023; ++e) compare(std::ldexp(1.0, e));
    std::uniform_int_distribution<int> decimalExponent(-25, 25);
    for (int i = 0; i < 100000; ++i) {
        compare(static_cast<double>(random() % 100000) * std::pow(10.0, decimalExponent(random)));
        compare(static_cast<double>(random() % (uint64_t{1} << 62)) * 4.0);
        compare(-static_cast<double>(random() % 100000000) / 4096.0);
    }
    EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace plof
