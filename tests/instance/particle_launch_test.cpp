#include "instance/particle_launch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "instance/module_state.h"
#include "instance/random_generator.h"
#include "support/fake_host_services.h"
#include "support/test_instance.h"

namespace plof {
namespace {

using test::FakeHostServices;
using test::TestInstance;

double length(const Vec3 &v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

// The generator's state after `draws` draws from a freshly loaded module.
uint32_t stateAfter(int draws) {
    const uint32_t saved = moduleState().randomState;
    moduleState().randomState = 1;
    for (int i = 0; i < draws; ++i) nextRandom();
    const uint32_t state = moduleState().randomState;
    moduleState().randomState = saved;
    return state;
}

class ParticleLaunch : public ::testing::Test {
protected:
    FakeHostServices host;  // a freshly loaded module: the first draw is 41
};

TEST_F(ParticleLaunch, DefaultSpeedsAndSpreadDirections) {
    TestInstance t(400);
    initialiseVelocities(*t);
    EXPECT_NEAR(length(t.particle(0).launchVelocity), 1.41, 1e-12) << "41 hundredths above V0Min";
    std::set<int> angles;
    for (int32_t i = 0; i < 400; ++i) {
        const Vec3 &v = t.particle(i).launchVelocity;
        const double speed = length(v);
        const double hundredths = (speed - 1.0) * 100;
        EXPECT_NEAR(hundredths, std::round(hundredths), 1e-6) << i;
        EXPECT_GE(speed, 1.0 - 1e-12);
        EXPECT_LT(speed, 3.995);
        // Angle from +Y in whole degrees, converted with 3.1415.
        const double fromY = 90 - std::asin(v[1] / speed) * 180 / 3.1415;
        EXPECT_NEAR(fromY, std::round(fromY), 1e-6) << i;
        EXPECT_GE(std::lround(fromY), 1);
        EXPECT_LE(std::lround(fromY), 180);
        angles.insert(static_cast<int>(std::lround(fromY)));
    }
    EXPECT_GT(angles.size(), 100u) << "the whole band is used";
    EXPECT_EQ(moduleState().randomState, stateAfter(3 * 400));
}

TEST_F(ParticleLaunch, EqualSpeedBoundsAndSpreadBoundsDrawOnlyTheAzimuth) {
    TestInstance t(50);
    t->V0Min = t->V0Max = 2.5;
    t->SpreadMin = t->SpreadMax = 0;
    initialiseVelocities(*t);
    for (int32_t i = 0; i < 50; ++i) {
        const Vec3 &v = t.particle(i).launchVelocity;
        EXPECT_NEAR(length(v), 2.5, 1e-12);
        // 90 * 3.1415 / 180 falls just short of a right angle.
        EXPECT_NEAR(std::hypot(v[0], v[2]) / 2.5, 4.6327e-5, 1e-9);
    }
    EXPECT_EQ(moduleState().randomState, stateAfter(50));
}

TEST_F(ParticleLaunch, ASpeedSpanBelowOneHundredthDrawsNothing) {
    TestInstance t(20);
    t->V0Min = 1.0;
    t->V0Max = 1.005;
    t->SpreadMin = t->SpreadMax = 30;
    initialiseVelocities(*t);
    for (int32_t i = 0; i < 20; ++i) EXPECT_EQ(length(t.particle(i).launchVelocity), 1.0);
    EXPECT_EQ(moduleState().randomState, stateAfter(20));
}

TEST_F(ParticleLaunch, ReversedBoundsUseTheRemainderRule) {
    TestInstance t(200);
    t->V0Min = 2.0;
    t->V0Max = 1.0;
    t->SpreadMin = 90;
    t->SpreadMax = 0;
    initialiseVelocities(*t);
    double fastest = 0;
    for (int32_t i = 0; i < 200; ++i) {
        const Vec3 &v = t.particle(i).launchVelocity;
        const double speed = length(v);
        EXPECT_GE(speed, 2.0 - 1e-12);
        EXPECT_LT(speed, 2.995);
        fastest = std::max(fastest, speed);
        // Elevation r + 90 degrees with r in 0 .. 89: at or past the vertical.
        EXPECT_LT(v[1] / speed, 1.0 + 1e-12);
        EXPECT_GE(v[1] / speed, std::sin(179 * 3.1415 / 180) - 1e-12);
    }
    EXPECT_GT(fastest, 2.5);
    // The first particle, from the draws themselves: speed, elevation, azimuth.
    moduleState().randomState = 1;
    const int32_t speedDraw = nextRandom();
    const int32_t elevationDraw = nextRandom();
    const int32_t azimuthDraw = nextRandom();
    const double e = (elevationDraw % 90 + 90) * 3.1415 / 180;
    const double a = (azimuthDraw % 360) * 3.1415 / 180;
    const double speed = (speedDraw % 100) / 100.0 + 2.0;
    EXPECT_EQ(t.particle(0).launchVelocity[0], speed * (std::cos(e) * std::cos(a)));
    EXPECT_EQ(t.particle(0).launchVelocity[1], speed * std::sin(e));
    EXPECT_EQ(t.particle(0).launchVelocity[2], speed * (std::cos(e) * std::sin(a)));
}

TEST_F(ParticleLaunch, RadialModeAimsAwayFromTheOrigin) {
    const PlofItemId object = host.addItem("Ball", {{3, 0, 4}, {0, 0, 0}, {0, -2, 0}});
    TestInstance t(3, object);
    t->objectHandle = moduleState().objectAccess->accessHandle(moduleState().objectInfo->meshSource(object));
    t->objectPoints = 3;
    t->OrgEmit = 1;
    t->V0Min = t->V0Max = 2.0;
    initialiseVelocities(*t);
    EXPECT_NEAR(t.particle(0).launchVelocity[0], 1.2, 1e-15);
    EXPECT_EQ(t.particle(0).launchVelocity[1], 0.0);
    EXPECT_NEAR(t.particle(0).launchVelocity[2], 1.6, 1e-15);
    EXPECT_EQ(t.particle(1).launchVelocity, (Vec3{0, 0, 0})) << "a point at the origin";
    EXPECT_EQ(t.particle(2).launchVelocity, (Vec3{0, -2, 0}));
    EXPECT_EQ(moduleState().randomState, 1u) << "no draws with equal speeds";

    host.setPointsMissing(true);
    initialiseVelocities(*t);
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(t.particle(i).launchVelocity, (Vec3{0, 0, 0}));

    // Any OrgEmit other than 1 is spread mode.
    t->OrgEmit = 2;
    initialiseVelocities(*t);
    EXPECT_NEAR(length(t.particle(1).launchVelocity), 2.0, 1e-12);
    EXPECT_EQ(moduleState().randomState, stateAfter(3 * 2));
}

TEST_F(ParticleLaunch, LifetimesStayWithinTheAgeBounds) {
    TestInstance t(500);
    initialiseLifetimes(*t);
    EXPECT_EQ(t.particle(0).lifetime, 10 + 41 % 50);
    std::set<int32_t> seen;
    for (int32_t i = 0; i < 500; ++i) {
        EXPECT_GE(t.particle(i).lifetime, 10);
        EXPECT_LE(t.particle(i).lifetime, 59);
        seen.insert(t.particle(i).lifetime);
    }
    EXPECT_EQ(seen.size(), 50u);
}

TEST_F(ParticleLaunch, EqualOrReversedAgesDrawNothingAndZeroBecomesOne) {
    TestInstance t(4);
    t->AgeMin = t->AgeMax = 0;
    initialiseLifetimes(*t);
    for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(t.particle(i).lifetime, 1);
    t->AgeMin = 30;
    t->AgeMax = 5;
    initialiseLifetimes(*t);
    for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(t.particle(i).lifetime, 30);
    EXPECT_EQ(moduleState().randomState, 1u);
}

TEST_F(ParticleLaunch, ExtremeSettingsDoNotOverflow) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    TestInstance t(2);
    t->AgeMin = kMin;
    t->AgeMax = kMax;
    initialiseLifetimes(*t);
    EXPECT_EQ(t.particle(0).lifetime, kMin + 41);
    EXPECT_EQ(t.particle(1).lifetime, kMin + 18467);

    t->SpreadMin = kMin;
    t->SpreadMax = kMax;
    t->V0Min = -1e300;
    t->V0Max = 1e300;
    initialiseVelocities(*t);
    for (int32_t i = 0; i < 2; ++i) {
        for (double c : t.particle(i).launchVelocity) EXPECT_TRUE(std::isfinite(c));
    }
    t->V0Min = std::numeric_limits<double>::quiet_NaN();
    moduleState().randomState = 1;
    t->SpreadMin = t->SpreadMax = 0;
    initialiseVelocities(*t);
    EXPECT_EQ(moduleState().randomState, stateAfter(2)) << "no speed draw for a span that is not a number";
}

}  // namespace
}  // namespace plof
