#include "base/number_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace plof {
namespace {

std::string fixed(double value, int decimals, int width = 0) {
    char out[64];
    EXPECT_GE(formatFixed(out, sizeof out, value, decimals, width), 0);
    return out;
}

TEST(FormatFixed, MatchesPrintfFixedNotation) {
    EXPECT_EQ(fixed(9.8, 6), "9.800000");
    EXPECT_EQ(fixed(1.2345678, 6), "1.234568");
    EXPECT_EQ(fixed(-0.5, 6), "-0.500000");
    EXPECT_EQ(fixed(0.0, 6), "0.000000");
    EXPECT_EQ(fixed(1.0, 4, 5), "1.0000");
    EXPECT_EQ(fixed(0.0, 4, 7), " 0.0000");
    // Round half to even on the exact binary value, as glibc's printf does.
    EXPECT_EQ(fixed(0.125, 2), "0.12");
    EXPECT_EQ(fixed(2.5, 0), "2");
    EXPECT_EQ(fixed(1e20, 1), "100000000000000000000.0");
}

TEST(FormatFixed, RefusesTextsThatDoNotFit) {
    char out[8] = "garbage";
    EXPECT_EQ(formatFixed(out, sizeof out, 123456.0, 6), -1);
    EXPECT_STREQ(out, "");
    char wide[400];
    EXPECT_EQ(formatFixed(wide, sizeof wide, std::numeric_limits<double>::max(), 6), 316);
}

TEST(FormatShortest, ReadsBackAsTheSameDouble) {
    for (const double value : {1e308, -1e308, DBL_MAX, -DBL_MIN, 0.1, 9.8, 5e-324}) {
        char text[32];
        ASSERT_GT(formatShortest(text, sizeof text, value), 0) << value;
        EXPECT_EQ(parseDecimal(text), value) << text;
    }
    char text[32];
    formatShortest(text, sizeof text, 1e308);
    EXPECT_STREQ(text, "1e+308");
    EXPECT_EQ(formatShortest(text, 6, 1e308), -1);
}

TEST(FormatInteger, MatchesPrintfD) {
    char out[16];
    EXPECT_EQ(formatInteger(out, sizeof out, -2147483647 - 1), 11);
    EXPECT_STREQ(out, "-2147483648");
    EXPECT_EQ(formatInteger(out, 3, 123), -1);
}

TEST(ParseDecimal, ReadsLikeStrtod) {
    EXPECT_EQ(parseDecimal(" 9.8"), 9.8);
    EXPECT_EQ(parseDecimal("\t-3.7xyz"), -3.7);
    EXPECT_EQ(parseDecimal("+12.9\n"), 12.9);
    EXPECT_EQ(parseDecimal("1e3"), 1000.0);
    EXPECT_EQ(parseDecimal(".5"), 0.5);
    EXPECT_EQ(parseDecimal("5."), 5.0);
    EXPECT_EQ(parseDecimal(""), 0.0);
    EXPECT_EQ(parseDecimal(" abc"), 0.0);
    EXPECT_EQ(parseDecimal("--5"), 0.0);
    EXPECT_EQ(parseDecimal("in"), 0.0);
    EXPECT_TRUE(std::isinf(parseDecimal("1e999")));
    EXPECT_EQ(parseDecimal("1e-999"), 0.0);
}

// An infinite or undefined setting is written as "inf" or "nan" and must
// come back as itself, not as 0.
TEST(ParseDecimal, ReadsBackWhatFormatFixedWritesForNonFiniteValues) {
    const double infinity = std::numeric_limits<double>::infinity();
    for (double value : {infinity, -infinity}) {
        char text[16];
        ASSERT_GT(formatFixed(text, sizeof text, value, 6), 0);
        EXPECT_EQ(parseDecimal(text), value) << text;
    }
    char text[16];
    ASSERT_GT(formatFixed(text, sizeof text, std::nan(""), 6), 0);
    EXPECT_TRUE(std::isnan(parseDecimal(text))) << text;
    EXPECT_EQ(parseDecimal(" -Infinity"), -infinity);
    EXPECT_EQ(parseDecimal("INF\n"), infinity);
}

TEST(TruncateToInt32, TruncatesTowardZeroAndSaturates) {
    EXPECT_EQ(truncateToInt32(12.9), 12);
    EXPECT_EQ(truncateToInt32(-3.7), -3);
    EXPECT_EQ(truncateToInt32(1e300), 2147483647);
    EXPECT_EQ(truncateToInt32(-1e300), -2147483647 - 1);
    EXPECT_EQ(truncateToInt32(std::numeric_limits<double>::infinity()), 2147483647);
    EXPECT_EQ(truncateToInt32(std::nan("")), 0);
    EXPECT_EQ(truncateToInt32(2147483646.9), 2147483646);
    EXPECT_EQ(clampToInt32(int64_t{1} << 40), 2147483647);
    EXPECT_EQ(clampToInt32(-(int64_t{1} << 40)), -2147483647 - 1);
    EXPECT_EQ(clampToInt32(-12), -12);
}

}  // namespace
}  // namespace plof
