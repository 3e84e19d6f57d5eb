#include "instance/particle_update.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "support/fake_host_services.h"
#include "support/test_instance.h"

namespace plof {
namespace {

using test::Axes;
using test::FakeHostServices;
using test::TestInstance;

constexpr Vec3 kOrigin{0, 0, 0};

class ParticleUpdate : public ::testing::Test {
protected:
    FakeHostServices host;
    PlofItemId object = host.addItem("Emitter");
};

// Host time at 30 frames per second.
void updateAt(TestInstance &t, int32_t frame) { update(*t, frame, frame / 30.0); }

TEST_F(ParticleUpdate, RecordsTheFrameAndRestartsTheCursor) {
    TestInstance t(3, object);
    t->pointCursor = 2;
    update(*t, 12, 0.4);
    EXPECT_EQ(t->frame, 12);
    EXPECT_EQ(t->time, 0.4);
    EXPECT_EQ(t->pointCursor, 0);
}

TEST_F(ParticleUpdate, BeforeTheStartFrameEveryParticleRestsHidden) {
    host.setPosition(object, Vec3{1, 2, 3});
    TestInstance t(4, object);
    t->START_F = 10;
    for (int32_t i = 0; i < 4; ++i) {
        t.particle(i).lifetime = 50;
        t.particle(i).flightTime = 9;
        t.particle(i).position = {7, 7, 7};
    }
    updateAt(t, 9);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(t.particle(i).hidden, 1);
        EXPECT_EQ(t.particle(i).flightTime, 0.0);
        EXPECT_EQ(t.particle(i).position, kOrigin) << "rests at the pivot in object space";
    }
}

TEST_F(ParticleUpdate, WithoutRecyclingAParticleFliesOnceForItsLifetime) {
    // 10 points at 100 per second: particle 5 is born at frame 1, 0.05 s.
    // With START_F 4 its birth frame is 5 and its birth time 4/30 + 0.05.
    TestInstance t(10, object);
    t->ReCycle = 0;
    t->START_F = 4;
    t->Gravity = 0;
    t.particle(5).lifetime = 10;
    t.particle(5).launchVelocity = {0, 3, 0};
    const double bornAt = 4 / 30.0 + 0.05;
    for (int32_t frame = 4; frame <= 20; ++frame) {
        updateAt(t, frame);
        const Particle &p = t.particle(5);
        const bool flying = frame >= 6 && frame <= 15;  // birth time 0.183 s is past frame 5
        SCOPED_TRACE(frame);
        EXPECT_EQ(p.hidden, flying ? 0 : 1);
        if (flying) {
            EXPECT_DOUBLE_EQ(p.flightTime, frame / 30.0 - bornAt);
            EXPECT_DOUBLE_EQ(p.position[1], 3 * (frame / 30.0 - bornAt));
        } else {
            EXPECT_EQ(p.flightTime, 0.0);
            EXPECT_EQ(p.position, kOrigin);
        }
    }
}

TEST_F(ParticleUpdate, AParticleIsHiddenOnItsBirthFrameOnly) {
    // Particle 0 of 10 at 100 per second, START_F 5: birth frame 5, birth time 1/6 s.
    TestInstance t(10, object);
    t->ReCycle = 0;
    t->START_F = 5;
    t.particle(0).lifetime = 10;
    for (int32_t frame = 5; frame <= 16; ++frame) {
        updateAt(t, frame);
        SCOPED_TRACE(frame);
        EXPECT_EQ(t.particle(0).hidden, frame == 5 || frame == 16 ? 1 : 0);
        EXPECT_EQ(t.particle(0).flightTime > 0, frame > 5 && frame <= 15);
    }
}

TEST_F(ParticleUpdate, RecyclingRestartsTheFlightEveryPeriod) {
    TestInstance t(10, object);
    t->Gravity = 0;
    t.particle(0).lifetime = 100;
    t.particle(0).launchVelocity = {2, 0, 0};
    updateAt(t, 7);  // third round: born at frame 6, 0.2 s
    EXPECT_EQ(t.particle(0).hidden, 0);
    EXPECT_DOUBLE_EQ(t.particle(0).flightTime, 7 / 30.0 - 0.2);
    EXPECT_DOUBLE_EQ(t.particle(0).position[0], 2 * (7 / 30.0 - 0.2));
    for (int32_t frame : {3, 6, 9, 12}) {
        updateAt(t, frame);
        EXPECT_EQ(t.particle(0).hidden, 1) << "reborn at frame " << frame;
        EXPECT_EQ(t.particle(0).flightTime, 0.0);
    }
}

TEST_F(ParticleUpdate, ShortLifetimesRestUntilTheNextRound) {
    TestInstance t(10, object);
    t.particle(0).lifetime = 1;
    updateAt(t, 8);  // born at 6, dead after frame 7, reborn at 9
    EXPECT_EQ(t.particle(0).hidden, 1);
    EXPECT_EQ(t.particle(0).flightTime, 0.0);
    updateAt(t, 10);
    EXPECT_EQ(t.particle(0).hidden, 0);
    EXPECT_DOUBLE_EQ(t.particle(0).flightTime, 10 / 30.0 - 0.3);
}

TEST_F(ParticleUpdate, TooFewPointsForTheBirthRateFlyOnceEvenWithRecycling) {
    TestInstance t(2, object);  // 2 * 30 < 100: no period
    for (int32_t i = 0; i < 2; ++i) t.particle(i).lifetime = 5;
    updateAt(t, 3);
    EXPECT_DOUBLE_EQ(t.particle(1).flightTime, 0.1 - 0.01);
    updateAt(t, 6);
    EXPECT_EQ(t.particle(0).hidden, 1);
    EXPECT_EQ(t.particle(1).hidden, 1);
    EXPECT_EQ(t.particle(1).flightTime, 0.0);
    updateAt(t, 400);
    EXPECT_EQ(t.particle(0).flightTime, 0.0);
}

TEST_F(ParticleUpdate, AHostAtTwentyFourFramesPerSecond) {
    // Particle 10 of 11 at 10 per second: birth frame 30, birth time 1.0 s.
    TestInstance t(11, object);
    t->Birth = 10;
    t->ReCycle = 0;
    t.particle(10).lifetime = 4;
    for (int32_t frame = 20; frame <= 36; ++frame) {
        update(*t, frame, frame / 24.0);
        const Particle &p = t.particle(10);
        SCOPED_TRACE(frame);
        const bool flying = frame >= 24 && frame <= 34;
        EXPECT_EQ(p.hidden, flying && frame != 30 ? 0 : 1);
        if (flying) {
            EXPECT_DOUBLE_EQ(p.flightTime, frame / 24.0 - 1.0);
        } else {
            EXPECT_EQ(p.flightTime, 0.0);
        }
    }
}

TEST_F(ParticleUpdate, ABirthRateOfZeroOrLessEmitsNothing) {
    host.setPosition(object, Vec3{4, 0, 0});
    for (int32_t birth : {0, -1, -100, std::numeric_limits<int32_t>::min()}) {
        TestInstance t(5, object);
        t->Birth = birth;
        for (int32_t i = 0; i < 5; ++i) t.particle(i).lifetime = 100;
        updateAt(t, 20);
        EXPECT_EQ(t->Birth, birth);
        for (int32_t i = 0; i < 5; ++i) {
            EXPECT_EQ(t.particle(i).hidden, 1) << birth;
            EXPECT_EQ(t.particle(i).flightTime, 0.0);
            EXPECT_EQ(t.particle(i).position, kOrigin);
        }
    }
}

TEST_F(ParticleUpdate, AMovingEmitterLaunchesFromItsPlaceAtEachBirthTime) {
    host.setPosition(object, [](double time) { return Vec3{10 * time, 0, 0}; });
    TestInstance t(10, object);
    t->Gravity = 0;
    t->ReCycle = 0;
    for (int32_t i = 0; i < 10; ++i) t.particle(i).lifetime = 100;
    updateAt(t, 15);
    // At rest relative to the launch point: each particle stays where the
    // object was at its birth, seen from where the object is now.
    for (int32_t i = 0; i < 10; ++i) {
        EXPECT_NEAR(t.particle(i).position[0], 10 * (i / 100.0) - 10 * 0.5, 1e-12) << i;
    }
}

TEST_F(ParticleUpdate, LaunchVelocityFollowsTheEmitterAxesAtBirth) {
    // The object turns about Y at 90 degrees per second; particle 0 of 10 is
    // born at 0 s, when the object's X axis is world +X.
    host.setAxes(object, [](double time) {
        const double a = time * std::numbers::pi / 2;
        return Axes{{{std::cos(a), 0, -std::sin(a)}, {0, 1, 0}, {std::sin(a), 0, std::cos(a)}}};
    });
    TestInstance t(10, object);
    t->Gravity = 0;
    t->ReCycle = 0;
    t->bakeMode = 1;  // keep world coordinates
    t.particle(0).lifetime = 100;
    t.particle(0).launchVelocity = {1, 0, 0};
    update(*t, 30, 1.0);
    EXPECT_NEAR(t.particle(0).position[0], 1.0, 1e-12);
    EXPECT_NEAR(t.particle(0).position[2], 0.0, 1e-12);
    // One second later the object has turned a quarter: its +Z is world +X.
    t->bakeMode = 0;
    update(*t, 30, 1.0);
    EXPECT_NEAR(t.particle(0).position[0], 0.0, 1e-12);
    EXPECT_NEAR(t.particle(0).position[2], 1.0, 1e-12);
}

TEST_F(ParticleUpdate, GravityPullsAlongWorldMinusYWhateverTheOrientation) {
    // Object lying on its side: its own Y axis is world +X.
    host.setAxes(object, Axes{{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}});
    TestInstance t(10, object);
    t->bakeMode = 1;
    t->ReCycle = 0;
    t.particle(0).lifetime = 100;
    t.particle(0).launchVelocity = {0, 2, 0};
    update(*t, 30, 1.0);
    EXPECT_DOUBLE_EQ(t.particle(0).position[0], 2.0);
    EXPECT_DOUBLE_EQ(t.particle(0).position[1], -4.9);
    EXPECT_EQ(t.particle(0).position[2], 0.0);
}

TEST_F(ParticleUpdate, RestingParticlesWaitAtTheAvoidObject) {
    const PlofItemId avoid = host.addItem("Avoid");
    host.setPosition(avoid, Vec3{5, 5, 5});
    host.setPosition(object, Vec3{1, 0, 0});
    host.setAxes(object, Axes{{{2, 0, 0}, {0, 2, 0}, {0, 0, 2}}});
    TestInstance t(3, object);
    t->refItem = avoid;
    t->START_F = 100;
    updateAt(t, 10);
    EXPECT_EQ(t.particle(2).position, (Vec3{2, 2.5, 2.5}));
    t->bakeMode = 1;
    updateAt(t, 10);
    EXPECT_EQ(t.particle(2).position, (Vec3{5, 5, 5}));
}

TEST_F(ParticleUpdate, DegenerateAxesLeaveTheOffsetFromTheObject) {
    host.setPosition(object, Vec3{1, 1, 1});
    TestInstance t(10, object);
    t->ReCycle = 0;
    t.particle(0).lifetime = 100;
    t.particle(0).launchVelocity = {1, 1, 1};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Axes degenerate[] = {
        Axes{{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
        Axes{{{1, 0, 0}, {1, 0, 0}, {0, 0, 1}}},
        Axes{{{nan, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
        Axes{{{1e300, 0, 0}, {0, 1e300, 0}, {0, 0, 1e300}}},
    };
    for (const Axes &axes : degenerate) {
        host.setAxes(object, axes);
        update(*t, 30, 1.0);
        const Vec3 local = t.particle(0).position;
        EXPECT_EQ(t.particle(1).position, kOrigin) << "a resting particle";
        t->bakeMode = 1;
        update(*t, 30, 1.0);
        t->bakeMode = 0;
        const Vec3 world = t.particle(0).position;
        for (int j = 0; j < 3; ++j) {
            if (std::isfinite(world[j])) {
                EXPECT_EQ(local[j], world[j] - 1.0);
            } else {
                EXPECT_TRUE(std::isnan(local[j]) && std::isnan(world[j]));
            }
        }
    }
}

TEST_F(ParticleUpdate, FramesMayComeInAnyOrder) {
    TestInstance t(50, object);
    t->Regist = 0.4;
    for (int32_t i = 0; i < 50; ++i) {
        t.particle(i).lifetime = 10 + i % 7;
        t.particle(i).launchVelocity = {0.1 * i, 3, -0.05 * i};
    }
    updateAt(t, 40);
    const std::vector<Particle> first = t.particles;
    updateAt(t, 90);
    updateAt(t, 2);
    updateAt(t, 40);
    for (int32_t i = 0; i < 50; ++i) {
        EXPECT_EQ(t.particle(i).position, first[i].position) << i;
        EXPECT_EQ(t.particle(i).hidden, first[i].hidden) << i;
        EXPECT_EQ(t.particle(i).flightTime, first[i].flightTime) << i;
    }
}

TEST_F(ParticleUpdate, ExtremeFramesAndStartFramesDoNotOverflow) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    TestInstance t(3, object);
    t->Birth = 1;
    t->START_F = kMin;
    for (int32_t i = 0; i < 3; ++i) t.particle(i).lifetime = 100;
    update(*t, kMax, kMax / 30.0);
    // Period 90: particle 0 was last born 75 frames ago, particle 1 45 frames ago.
    EXPECT_NEAR(t.particle(0).flightTime, 2.5, 1e-6);
    EXPECT_NEAR(t.particle(1).flightTime, 1.5, 1e-6);
    EXPECT_EQ(t.particle(0).hidden, 0);

    t->START_F = kMax;
    update(*t, kMin, kMin / 30.0);
    EXPECT_EQ(t.particle(0).hidden, 1);
    t->START_F = kMin;
    t->ReCycle = 0;
    update(*t, kMax, kMax / 30.0);
    EXPECT_EQ(t.particle(0).hidden, 1) << "flew once, long ago";
}

}  // namespace
}  // namespace plof
