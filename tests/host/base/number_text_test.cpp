#include "host/base/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <optional>
#include <sstream>
#include <string>

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

// What std::from_chars reads as the whole word, the reference the readers
// kept when they moved to fast_float: the same numbers, the same refusals
// beyond the range ("1e-400" is refused, not zero), for doubles and floats.
template <typename Number>
std::optional<Number> fromChars(const std::string &word) {
    Number value = 0;
    const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
    if (result.ec != std::errc() || result.ptr != word.data() + word.size() || !std::isfinite(value)) return {};
    return value;
}

TEST(NumberTextTest, ReadsWhatFromCharsReads) {
    std::istringstream words(
        "0 -0 1 -1.5 .5 5. -.5 1e3 1E-3 2.5e+10 1e 1e+ . - 0x10 1,5 1.7976931348623157e308 1.8e308 1e-400 0e-999 "
        "0.000e-400 4.9e-324 2e-324 3e-324 2.4703282292062328e-324 1e-310 3.4028235e38 3.5e38 1e-45 1e-46 1.4e-45 "
        "0.7e-45 123456789012345678901234567890 9007199254740993 inf nan -infinity 00012 1.2.3 1e5e5");
    for (std::string word; words >> word;) {
        EXPECT_EQ(parseNumber(word), fromChars<double>(word)) << word;
        EXPECT_EQ(parseFloat32(word), fromChars<float>(word)) << word;
    }
    EXPECT_FALSE(parseFloat32(" 1").has_value());
    EXPECT_FALSE(parseFloat32("+1").has_value());
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
