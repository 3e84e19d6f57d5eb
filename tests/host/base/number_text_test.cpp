#include "host/base/number_text.h"

#include <gtest/gtest.h>

namespace plof::host {
namespace {

TEST(NumberTextTest, ReadsOnlyWholeFiniteNumbers) {
    EXPECT_EQ(parseNumber(" 2.5 "), 2.5);
    EXPECT_EQ(parseNumber("+3"), 3.0);
    EXPECT_EQ(parseNumber("-1e-3"), -0.001);
    for (const char *bad : {"", " ", "1.5x", "nan", "inf", "1e999", "1 2", "--1", "+-1", "+"}) {
        EXPECT_FALSE(parseNumber(bad).has_value()) << bad;
    }
    EXPECT_EQ(parseInteger("  -42"), -42);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    for (const char *bad : {"2147483648", "1.0", "x", "", "+-42"}) {
        EXPECT_FALSE(parseInteger(bad).has_value()) << bad;
    }
}

TEST(NumberTextTest, ReadsRangesOfTwoWholeNumbers) {
    const auto range = parseIntegerRange("-3..+7");
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(range->first, -3);
    EXPECT_EQ(range->last, 7);
    EXPECT_EQ(parseIntegerRange("9..2")->first, 9);  // the order is the caller's to check
    for (const char *bad : {"5", "..5", "5..", "1...3", "1..2..3", "a..b", "0..2147483648"}) {
        EXPECT_FALSE(parseIntegerRange(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace plof::host
