#include "host/number_text.h"

#include <gtest/gtest.h>

namespace plof::host {
namespace {

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
