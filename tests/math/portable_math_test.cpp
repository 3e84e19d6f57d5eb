#include "math/portable_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

namespace plof {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// How many doubles apart a and b are: 0 when equal (zeros of either sign
// are), the most there is when their signs differ or either is NaN.
int64_t ulpsApart(double a, double b) {
    if (a == b) return 0;
    if (std::isnan(a) || std::isnan(b) || std::signbit(a) != std::signbit(b)) {
        return std::numeric_limits<int64_t>::max();
    }
    // Of one sign, the bit patterns are in the order of the magnitudes.
    int64_t aBits = 0, bBits = 0;
    std::memcpy(&aBits, &a, sizeof a);
    std::memcpy(&bBits, &b, sizeof b);
    return aBits > bBits ? aBits - bBits : bBits - aBits;
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The largest distance from the C library over the arguments, with the worst argument.
struct Worst {
    int64_t ulps = 0;
    double argument = 0.0;
};

template <typename Ours, typename Library>
Worst worstAgainst(const std::vector<double> &arguments, Ours ours, Library library) {
    Worst worst;
    for (double x : arguments) {
        const int64_t apart = ulpsApart(ours(x), library(x));
        if (apart > worst.ulps) worst = {apart, x};
    }
    return worst;
}

// Radians as the system forms them: the module's whole degrees times
// 3.1415 / 180, the host's degrees (also in halves and tenths) times pi / 180,
// the built-in sphere's golden-angle steps, a dense sweep of a few turns, and
// random arguments up to a million radians.
std::vector<double> systemArguments() {
    std::vector<double> arguments;
    for (int degrees = -3600; degrees <= 3600; ++degrees) {
        arguments.push_back(static_cast<double>(degrees) * 3.1415 / 180);
        arguments.push_back(static_cast<double>(degrees) * 3.1415 / 180.0);
    }
    for (int tenths = -36000; tenths <= 36000; ++tenths) {
        arguments.push_back(static_cast<double>(tenths) / 10.0 * (std::numbers::pi / 180.0));
    }
    const double goldenAngle = std::numbers::pi * (3.0 - std::sqrt(5.0));
    for (int i = 0; i < 20000; ++i) arguments.push_back(goldenAngle * i);
    for (int i = -200000; i <= 200000; ++i) arguments.push_back(i * 1.0e-4 + 1.0e-9);
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> wide(-1.0e6, 1.0e6);
    for (int i = 0; i < 100000; ++i) arguments.push_back(wide(random));
    return arguments;
}

TEST(PortableTrigonometry, StaysWithinOneUlpOfTheLibraryOverTheSystemsAngles) {
    const std::vector<double> arguments = systemArguments();
    const Worst sine = worstAgainst(arguments, portableSin, [](double x) { return std::sin(x); });
    const Worst cosine = worstAgainst(arguments, portableCos, [](double x) { return std::cos(x); });
    const Worst tangent = worstAgainst(arguments, portableTan, [](double x) { return std::tan(x); });
    EXPECT_LE(sine.ulps, 1) << "sin(" << sine.argument << ")";
    EXPECT_LE(cosine.ulps, 1) << "cos(" << cosine.argument << ")";
    EXPECT_LE(tangent.ulps, 1) << "tan(" << tangent.argument << ")";
}

TEST(PortableTrigonometry, StaysWithinOneUlpForTinyAndLargeArguments) {
    std::vector<double> arguments;
    for (double x = 1e-300; x < 1.0; x *= 1.37) arguments.push_back(x);
    for (double x = 1.0; x < kLargestTrigArgument; x *= 1.0001) arguments.push_back(x);
    arguments.push_back(kLargestTrigArgument);
    arguments.push_back(std::numeric_limits<double>::denorm_min());
    for (double sign : {1.0, -1.0}) {
        const Worst sine = worstAgainst(arguments, portableSin, [&](double x) { return sign * std::sin(sign * x); });
        const Worst cosine = worstAgainst(arguments, portableCos, [](double x) { return std::cos(x); });
        const Worst tangent = worstAgainst(arguments, portableTan, [&](double x) { return sign * std::tan(sign * x); });
        EXPECT_LE(sine.ulps, 1) << "sin(" << sine.argument << ")";
        EXPECT_LE(cosine.ulps, 1) << "cos(" << cosine.argument << ")";
        EXPECT_LE(tangent.ulps, 1) << "tan(" << tangent.argument << ")";
    }
}

TEST(PortableTrigonometry, IsExactAtZeroAndKeepsItsSign) {
    EXPECT_TRUE(sameBits(portableSin(0.0), 0.0));
    EXPECT_TRUE(sameBits(portableSin(-0.0), -0.0));
    EXPECT_TRUE(sameBits(portableTan(0.0), 0.0));
    EXPECT_TRUE(sameBits(portableTan(-0.0), -0.0));
    EXPECT_EQ(portableCos(0.0), 1.0);
    EXPECT_EQ(portableCos(-0.0), 1.0);
    const double tiny = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(portableSin(-tiny), -tiny);
    EXPECT_EQ(portableTan(tiny), tiny);
    EXPECT_EQ(portableCos(tiny), 1.0);
}

TEST(PortableTrigonometry, IsOddOrEvenToTheBit) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> turns(0.0, 1000.0);
    for (int i = 0; i < 20000; ++i) {
        const double x = turns(random);
        ASSERT_TRUE(sameBits(portableSin(-x), -portableSin(x))) << x;
        ASSERT_TRUE(sameBits(portableCos(-x), portableCos(x))) << x;
        ASSERT_TRUE(sameBits(portableTan(-x), -portableTan(x))) << x;
    }
}

TEST(PortableTrigonometry, GivesTheRightSignInEachQuadrant) {
    // Just either side of each multiple of pi/4 up to two turns.
    for (int eighth = -16; eighth <= 16; ++eighth) {
        for (double offset : {-1e-3, 1e-3, 0.3}) {
            const double x = eighth * std::numbers::pi / 4 + offset;
            EXPECT_EQ(std::signbit(portableSin(x)), std::signbit(std::sin(x))) << x;
            EXPECT_EQ(std::signbit(portableCos(x)), std::signbit(std::cos(x))) << x;
            EXPECT_EQ(std::signbit(portableTan(x)), std::signbit(std::tan(x))) << x;
        }
    }
    // sin^2 + cos^2 stays 1 where the reduction changes quadrant.
    for (double x : {std::numbers::pi / 4, 3 * std::numbers::pi / 4, 1.0e5 + 0.5, -7.0e7}) {
        const double s = portableSin(x), c = portableCos(x);
        EXPECT_NEAR(s * s + c * c, 1.0, 4e-16) << x;
    }
}

TEST(PortableTrigonometry, AnswersNanWhereItCannotGiveANumber) {
    for (double x : {kInf, -kInf, std::numeric_limits<double>::quiet_NaN(), std::nextafter(kLargestTrigArgument, kInf),
                     -1.0e9, 1.0e300, std::numeric_limits<double>::max()}) {
        EXPECT_TRUE(std::isnan(portableSin(x))) << x;
        EXPECT_TRUE(std::isnan(portableCos(x))) << x;
        EXPECT_TRUE(std::isnan(portableTan(x))) << x;
    }
    // Up to the limit the answer is still the library's, which covers the
    // largest elevation the module forms from 32-bit settings.
    EXPECT_LE(ulpsApart(portableSin(-kLargestTrigArgument), std::sin(-kLargestTrigArgument)), 1);
    const double widestElevation = static_cast<double>(-4294967295LL) * 3.1415 / 180;
    EXPECT_LE(ulpsApart(portableCos(widestElevation), std::cos(widestElevation)), 1);
    EXPECT_LE(ulpsApart(portableTan(widestElevation), std::tan(widestElevation)), 1);
}

// The doubles nearest the multiples of pi/2 lie within 1e-18 of them (29 pi/2
// among the first): all of the result hangs on the argument's reduction.
TEST(PortableTrigonometry, KeepsItsLastBitBesideMultiplesOfHalfPi) {
    for (int k = -3000; k <= 3000; ++k) {
        const double x = k * (std::numbers::pi / 2);
        EXPECT_LE(ulpsApart(portableSin(x), std::sin(x)), 1) << k << " pi/2";
        EXPECT_LE(ulpsApart(portableCos(x), std::cos(x)), 1) << k << " pi/2";
        const double t = portableTan(x);
        EXPECT_TRUE(std::isfinite(t)) << k << " pi/2";
        EXPECT_LE(ulpsApart(t, std::tan(x)), 1) << k << " pi/2";
    }
}

TEST(PortableArcTangent, StaysWithinOneUlpOfTheLibraryInEveryQuadrant) {
    std::vector<std::pair<double, double>> points;
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> coordinate(-10.0, 10.0);
    std::uniform_real_distribution<double> exponent(-300.0, 300.0);
    for (int i = 0; i < 200000; ++i) points.emplace_back(coordinate(random), coordinate(random));
    for (int i = 0; i < 50000; ++i) {
        const double y = std::pow(10.0, exponent(random)) * (i % 2 == 0 ? 1 : -1);
        const double x = std::pow(10.0, exponent(random)) * (i % 3 == 0 ? 1 : -1);
        points.emplace_back(y, x);
    }
    // Launch directions as the module forms them: speed times cos and sin of whole degrees.
    for (int azimuth = 0; azimuth < 360; ++azimuth) {
        const double a = azimuth * 3.1415 / 180;
        points.emplace_back(-1.0 * (3.5 * std::sin(a)), 3.5 * std::cos(a));
    }
    // Ratios at and around 1/2 and 1, where the method changes.
    for (double ratio : {0.5, std::nextafter(0.5, 1.0), std::nextafter(0.5, 0.0), 1.0, std::nextafter(1.0, 0.0)}) {
        points.emplace_back(ratio, 1.0);
        points.emplace_back(1.0, -ratio);
    }
    int64_t worst = 0;
    std::pair<double, double> worstPoint;
    for (const auto &[y, x] : points) {
        const int64_t apart = ulpsApart(portableAtan2(y, x), std::atan2(y, x));
        if (apart > worst) {
            worst = apart;
            worstPoint = {y, x};
        }
    }
    EXPECT_LE(worst, 1) << "atan2(" << worstPoint.first << ", " << worstPoint.second << ")";
    EXPECT_EQ(portableAtan2(1.0, 1.0), std::numbers::pi / 4);
    EXPECT_EQ(portableAtan2(1.0, -1.0), 3 * std::numbers::pi / 4);
    EXPECT_EQ(portableAtan2(-2.0, -2.0), -3 * std::numbers::pi / 4);
    EXPECT_EQ(portableAtan2(-5.0, 0.0), -std::numbers::pi / 2);
}

TEST(PortableArcTangent, FollowsTheLibraryForZerosAndInfinities) {
    const double values[] = {0.0, -0.0, 1.0, -1.0, 1e-310, -1e-310, 1e308, -1e308, kInf, -kInf};
    for (double y : values) {
        for (double x : values) {
            EXPECT_TRUE(sameBits(portableAtan2(y, x), std::atan2(y, x)))
                << "atan2(" << y << ", " << x << ") = " << portableAtan2(y, x) << ", not " << std::atan2(y, x);
        }
    }
}

TEST(PortableArcTangent, AnswersNanForNan) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double other : {0.0, 1.0, -kInf}) {
        EXPECT_TRUE(std::isnan(portableAtan2(nan, other)));
        EXPECT_TRUE(std::isnan(portableAtan2(other, nan)));
    }
}

}  // namespace
}  // namespace plof
