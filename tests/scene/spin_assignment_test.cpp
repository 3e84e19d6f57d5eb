#include "scene/spin_assignment.h"

#include <gtest/gtest.h>

#include <cmath>

#include "bake_fixture.h"
#include "instance/module_state.h"
#include "support/module_state_reset.h"

namespace plof {
namespace {

using testing::BakeSubject;

// The module's generator restated: the draws a freshly loaded module gives.
class Draws {
public:
    int32_t next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int32_t>((state_ >> 16) & 0x7fffu);
    }

private:
    uint32_t state_ = 1;
};

class SpinAssignment : public ::testing::Test {
protected:
    void SetUp() override { resetModuleState(); }
    void TearDown() override { resetModuleState(); }
};

TEST_F(SpinAssignment, DrawsHundredthsPerAxisInParticleOrder) {
    BakeSubject subject(3);
    subject.instance->hpbMin = {0.0, -10.0, 100.0};
    subject.instance->hpbMax = {10.0, 10.0, 100.5};
    assignSpins(*subject.instance);
    Draws draws;
    for (const Particle &particle : subject.particles) {
        EXPECT_DOUBLE_EQ(particle.spin[0], (draws.next() % 1000) / 100.0);
        EXPECT_DOUBLE_EQ(particle.spin[1], (draws.next() % 2000) / 100.0 - 10.0);
        EXPECT_DOUBLE_EQ(particle.spin[2], (draws.next() % 50) / 100.0 + 100.0);
    }
    EXPECT_DOUBLE_EQ(subject.particles[0].spin[0], 0.41);  // the first draw is 41
    EXPECT_EQ(moduleState().randomState, [] {
        uint32_t state = 1;
        for (int i = 0; i < 9; ++i) state = state * 214013u + 2531011u;
        return state;
    }());
}

TEST_F(SpinAssignment, EqualOrTooCloseBoundsDrawNothing) {
    BakeSubject subject(4);
    subject.instance->hpbMin = {15.0, 7.0, -3.0};
    subject.instance->hpbMax = {15.0, 7.004, -3.0};  // less than a hundredth apart
    assignSpins(*subject.instance);
    EXPECT_EQ(moduleState().randomState, 1u);
    for (const Particle &particle : subject.particles) {
        EXPECT_EQ(particle.spin[0], 15.0);
        EXPECT_EQ(particle.spin[1], 7.0);
        EXPECT_EQ(particle.spin[2], -3.0);
    }
}

TEST_F(SpinAssignment, MaximumBelowMinimumSpinsAboveIt) {
    BakeSubject subject(50);
    subject.instance->hpbMin = {5.0, 0.0, 0.0};
    subject.instance->hpbMax = {2.0, 0.0, 0.0};
    assignSpins(*subject.instance);
    Draws draws;
    for (const Particle &particle : subject.particles) {
        EXPECT_GE(particle.spin[0], 5.0);
        EXPECT_LT(particle.spin[0], 8.0);
        EXPECT_DOUBLE_EQ(particle.spin[0], (draws.next() % 300) / 100.0 + 5.0);
    }
}

TEST_F(SpinAssignment, HugeSpanSaturatesInsteadOfOverflowing) {
    BakeSubject subject(2);
    subject.instance->hpbMin = {-1e300, 0.0, 0.0};
    subject.instance->hpbMax = {1e300, 0.0, 0.0};
    assignSpins(*subject.instance);
    Draws draws;
    // The span saturates at the largest 32-bit integer, so the draw is kept whole.
    EXPECT_EQ(subject.particles[0].spin[0], draws.next() / 100.0 - 1e300);
}

}  // namespace
}  // namespace plof
