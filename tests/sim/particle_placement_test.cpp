#include "sim/particle_placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace plof {
namespace {

// An emitter sliding along +X at 2 units per second, unturned, that keeps
// the times it was asked at. No host services are installed: the placing
// needs none.
class SlidingEmitter final : public EmitterMotion {
public:
    ItemFrame frameAt(double time) const override {
        asked.push_back(time);
        return {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {2 * time, 0, 0}};
    }
    mutable std::vector<double> asked;
};

std::vector<Particle> particles(int32_t count) {
    std::vector<Particle> all(static_cast<std::size_t>(count), Particle{});
    for (int32_t i = 0; i < count; ++i) {
        all[i].index = i;
        all[i].lifetime = 100;
        all[i].launchVelocity = {0, 1, 0};
    }
    return all;
}

TEST(ParticlePlacement, AsksTheEmitterAtEachFlyingParticlesBirthInParticleOrder) {
    // 4 particles at 30 per second from frame 0, no recycling: particle i is
    // born at i / 30 s; at frame 2 (2 / 30 s) particles 0 to 2 are born.
    std::vector<Particle> all = particles(4);
    const EmissionMoment moment{2, 2 / 30.0, 0, 30, 0, 0.0, 0.0};
    SlidingEmitter emitter;
    placeParticles(all.data(), 4, moment, emitter, Vec3{9, 9, 9}, nullptr);
    ASSERT_EQ(emitter.asked, (std::vector<double>{0.0, 1 / 30.0, 2 / 30.0}));
    // World space: each leaves from where the emitter was at its birth.
    EXPECT_DOUBLE_EQ(all[0].position[0], 0.0);
    EXPECT_DOUBLE_EQ(all[1].position[0], 2 / 30.0);
    EXPECT_DOUBLE_EQ(all[0].position[1], 2 / 30.0);
    EXPECT_EQ(all[2].hidden, 1) << "born at this very frame";
    EXPECT_EQ(all[3].position, (Vec3{9, 9, 9})) << "unborn: at the resting place";
    EXPECT_EQ(all[3].hidden, 1);
}

TEST(ParticlePlacement, ConvertsIntoTheObjectsFrameOnlyWhenGivenOne) {
    std::vector<Particle> all = particles(1);
    const EmissionMoment moment{0, 0.5, 0, 30, 0, 0.0, 0.0};
    SlidingEmitter emitter;
    // Turned a quarter about Y and standing at (1, 0, 0): the particle at
    // world (0, 0.5, 0) lies 0 along its X (world -Z), 0.5 along its Y and
    // -1 along its Z (world +X).
    const ItemFrame object{{0, 0, -1}, {0, 1, 0}, {1, 0, 0}, {1, 0, 0}};
    placeParticles(all.data(), 1, moment, emitter, Vec3{}, &object);
    EXPECT_EQ(all[0].position, (Vec3{0, 0.5, -1}));
    EXPECT_EQ(all[0].flightTime, 0.5);
}

}  // namespace
}  // namespace plof
