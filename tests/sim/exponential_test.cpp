#include "sim/exponential.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace plof {
namespace {

TEST(SplitParts, KeepsTheSignOnBothParts) {
    double whole = 0;
    EXPECT_EQ(splitParts(-2.5, whole), -0.5);
    EXPECT_EQ(whole, -2.0);
    EXPECT_EQ(splitParts(7.25, whole), 0.25);
    EXPECT_EQ(whole, 7.0);
    EXPECT_EQ(splitParts(3.0, whole), 0.0);
    EXPECT_EQ(whole, 3.0);
}

TEST(SplitParts, SaturatesWholePartsBeyondTheInt32Range) {
    double whole = 0;
    splitParts(1e12, whole);
    EXPECT_EQ(whole, 2147483647.0);
    splitParts(-std::numeric_limits<double>::infinity(), whole);
    EXPECT_EQ(whole, -2147483647.0);
    splitParts(std::nan(""), whole);
    EXPECT_EQ(whole, 0.0);
}

TEST(FloorValue, RoundsTowardMinusInfinity) {
    EXPECT_EQ(floorValue(-2.5), -3.0);
    EXPECT_EQ(floorValue(-2.0), -2.0);
    EXPECT_EQ(floorValue(-0.25), -1.0);
    EXPECT_EQ(floorValue(2.75), 2.0);
    EXPECT_EQ(floorValue(0.0), 0.0);
    EXPECT_EQ(absValue(-3.5), 3.5);
    EXPECT_EQ(absValue(3.5), 3.5);
}

TEST(ExpSeries, PinnedValues) {
    EXPECT_EQ(expSeries(0.0), 1.0);
    EXPECT_EQ(expSeries(5e-10), 1.0);
    EXPECT_EQ(expSeries(-5e-10), 1.0);
    EXPECT_EQ(expSeries(1e-9), 1.000000001);
    EXPECT_EQ(expSeries(1.0), 2.718281828459045);
    EXPECT_EQ(expSeries(-1.0), 1 / 2.718281828459045);
    EXPECT_NEAR(expSeries(85.0) / 8.223e36, 1.0, 1e-3);
    EXPECT_EQ(expSeries(85.5), 1.79769e308);
    EXPECT_EQ(expSeries(100.0), 1.79769e308);
    EXPECT_EQ(expSeries(-86.0), 0.0);
}

TEST(ExpSeries, AgreesWithTheLibraryBelowTheCap) {
    for (double x = -80.0; x <= 80.0; x += 0.37) {
        EXPECT_NEAR(expSeries(x) / std::exp(x), 1.0, 1e-13) << "x = " << x;
    }
}

TEST(ExpSeries, HugeAndNonFiniteArgumentsGiveTheCappedValues) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(expSeries(2147483648.0), 1.79769e308);
    EXPECT_EQ(expSeries(-2147483648.0), 0.0);
    EXPECT_EQ(expSeries(1e300), 1.79769e308);
    EXPECT_EQ(expSeries(-1e300), 0.0);
    EXPECT_EQ(expSeries(inf), 1.79769e308);
    EXPECT_EQ(expSeries(-inf), 0.0);
    EXPECT_EQ(expSeries(std::nan("")), 1.0);
    // Just below 2^31 the squaring loop still runs and caps on its own.
    EXPECT_EQ(expSeries(2147483647.5), 1.79769e308);
    EXPECT_EQ(expSeries(-2147483647.5), 0.0);
}

}  // namespace
}  // namespace plof
