#include "sim/solve_axes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace plof {
namespace {

TEST(SolveAxes, PinnedExamples) {
    Vec3 out{};
    solveAxes({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, -2, -3}, out);
    EXPECT_EQ(out, (Vec3{1, 2, 3}));

    // Object turned 90 degrees about Y.
    solveAxes({0, 0, -1}, {0, 1, 0}, {1, 0, 0}, {0, 0, -5}, out);
    EXPECT_EQ(out[0], -5.0);
    EXPECT_EQ(out[1], 0.0);
    EXPECT_EQ(out[2], 0.0);
}

TEST(SolveAxes, InvertsAxesOfAnyLengthAndSkew) {
    const Vec3 a{2, 0.5, -1}, b{0.25, 3, 0}, c{-1, 1, 4};
    const Vec3 r{1.5, -2, 0.75};
    Vec3 d;
    for (int j = 0; j < 3; ++j) d[j] = -(r[0] * a[j] + r[1] * b[j] + r[2] * c[j]);
    Vec3 out{};
    const double determinant = solveAxes(a, b, c, d, out);
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(out[j], r[j], 1e-12);
    // The determinant returned is a . (b x c).
    EXPECT_NEAR(determinant, 2 * 12 - 0.5 * 1 + -1 * 3.25, 1e-12);
}

TEST(SolveAxes, OutputMayAliasAnInput) {
    Vec3 d{-1, -2, -3};
    solveAxes({2, 0, 0}, {0, 2, 0}, {0, 0, 2}, d, d);
    EXPECT_EQ(d, (Vec3{0.5, 1, 1.5}));
}

TEST(SolveAxes, EqualAxesGiveNonFiniteResults) {
    Vec3 out{};
    EXPECT_EQ(solveAxes({1, 0, 0}, {1, 0, 0}, {0, 0, 1}, {-1, -2, -3}, out), 0.0);
    EXPECT_FALSE(std::isfinite(out[0]) && std::isfinite(out[1]) && std::isfinite(out[2]));
}

}  // namespace
}  // namespace plof
