#include "sim/flight.h"

#include <gtest/gtest.h>

namespace plof {
namespace {

TEST(FlightDisplacement, FreeFallWithoutResistance) {
    Vec3 out{};
    flightDisplacement(1.0, 9.8, {0, 0, 0}, 0.0, out);
    EXPECT_EQ(out, (Vec3{0, -4.9, 0}));
    flightDisplacement(2.0, 9.8, {1, 10, -3}, 0.0, out);
    EXPECT_DOUBLE_EQ(out[0], 2.0);
    EXPECT_DOUBLE_EQ(out[1], 20.0 - 19.6);
    EXPECT_DOUBLE_EQ(out[2], -6.0);
}

// dv/dt = -g*Y - k*v integrated with small classical Runge-Kutta steps.
Vec3 integrate(double t, double g, const Vec3 &w, double k) {
    const int steps = 20000;
    const double h = t / steps;
    Vec3 p{0, 0, 0};
    Vec3 v = w;
    auto accel = [&](const Vec3 &vel, int j) { return (j == 1 ? -g : 0.0) - k * vel[j]; };
    for (int s = 0; s < steps; ++s) {
        Vec3 k1v, k2v, k3v, k4v, k1p, k2p, k3p, k4p, tmp;
        for (int j = 0; j < 3; ++j) {
            k1p[j] = v[j];
            k1v[j] = accel(v, j);
        }
        for (int j = 0; j < 3; ++j) tmp[j] = v[j] + h / 2 * k1v[j];
        for (int j = 0; j < 3; ++j) {
            k2p[j] = tmp[j];
            k2v[j] = accel(tmp, j);
        }
        for (int j = 0; j < 3; ++j) tmp[j] = v[j] + h / 2 * k2v[j];
        for (int j = 0; j < 3; ++j) {
            k3p[j] = tmp[j];
            k3v[j] = accel(tmp, j);
        }
        for (int j = 0; j < 3; ++j) tmp[j] = v[j] + h * k3v[j];
        for (int j = 0; j < 3; ++j) {
            k4p[j] = tmp[j];
            k4v[j] = accel(tmp, j);
        }
        for (int j = 0; j < 3; ++j) {
            p[j] += h / 6 * (k1p[j] + 2 * k2p[j] + 2 * k3p[j] + k4p[j]);
            v[j] += h / 6 * (k1v[j] + 2 * k2v[j] + 2 * k3v[j] + k4v[j]);
        }
    }
    return p;
}

TEST(FlightDisplacement, ResistanceMatchesTheEquationOfMotion) {
    struct Case {
        double t, g, k;
        Vec3 w;
    };
    const Case cases[] = {
        {2.0, 9.8, 0.7, {1, 5, -2}},
        {0.5, 9.8, 3.0, {-4, 0, 2.5}},
        {3.0, 1.5, 0.05, {0.3, 2, 0}},
        {1.0, 0.0, 1.2, {2, -1, 1}},
    };
    for (const Case &c : cases) {
        Vec3 out{};
        flightDisplacement(c.t, c.g, c.w, c.k, out);
        const Vec3 expected = integrate(c.t, c.g, c.w, c.k);
        for (int j = 0; j < 3; ++j) {
            EXPECT_NEAR(out[j], expected[j], 1e-9) << "t " << c.t << " k " << c.k << " axis " << j;
        }
    }
}

TEST(FlightDisplacement, DragDoesNotTurnAnInitialVelocity) {
    // Without gravity, the displacement keeps the launch direction.
    Vec3 out{};
    flightDisplacement(1.5, 0.0, {3, 0, 4}, 0.8, out);
    EXPECT_NEAR(out[0] / out[2], 0.75, 1e-15);
    EXPECT_EQ(out[1], 0.0);
}

}  // namespace
}  // namespace plof
