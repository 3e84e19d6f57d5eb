#include "host/number_text.h"

#include <gtest/gtest.h>

namespace plof::host {
namespace {

TEST(NumberTextTest, WritesShortestRoundTripAndPrintfFixedForms) {
    EXPECT_EQ(shortestText(0.1), "0.1");
    EXPECT_EQ(shortestText(-4.9), "-4.9");
    EXPECT_EQ(shortestText(1e-7), "1e-07");
    EXPECT_EQ(shortestText(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(fixedText(9.8), "9.800000");
    EXPECT_EQ(fixedText(-0.0000004), "-0.000000");
    EXPECT_EQ(fixedText(1234567.8901234), "1234567.890123");
}

TEST(NumberTextTest, ReadsOnlyWholeFiniteNumbers) {
    EXPECT_EQ(parseNumber(" 2.5 "), 2.5);
    EXPECT_EQ(parseNumber("+3"), 3.0);
    EXPECT_EQ(parseNumber("-1e-3"), -0.001);
    for (const char *bad : {"", " ", "1.5x", "nan", "inf", "1e999", "1 2", "--1"}) {
        EXPECT_FALSE(parseNumber(bad).has_value()) << bad;
    }
    EXPECT_EQ(parseInteger("  -42"), -42);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    for (const char *bad : {"2147483648", "1.0", "x", ""}) {
        EXPECT_FALSE(parseInteger(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace plof::host
