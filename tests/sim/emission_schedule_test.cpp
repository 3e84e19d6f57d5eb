#include "sim/emission_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace plof {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(EmissionSchedule, TenPointsAtOneHundredPerSecond) {
    EXPECT_EQ(period(10, 100), 3);
    const int64_t expected[] = {0, 0, 0, 0, 1, 1, 1, 2, 2, 2};
    for (int32_t i = 0; i < 10; ++i) EXPECT_EQ(emissionOffset(i, 100), expected[i]) << i;
    EXPECT_EQ(birthTime(0, 3, 0, 5, 100), 0.05);
    EXPECT_EQ(birthFrame(0, 1, 3, 0), 1);
}

TEST(EmissionSchedule, RecyclingMovesTheBirthOnByWholePeriods) {
    // Particle 0 of 10 at 100 per second, frame 7: third round, born at frame 6.
    const int64_t cycle = emissionCycle(7, 0, 0, 3, 1);
    EXPECT_EQ(cycle, 2);
    EXPECT_EQ(birthFrame(0, 0, 3, cycle), 6);
    EXPECT_EQ(birthTime(0, 3, cycle, 0, 100), 0.2);
    // Only ReCycle 1 recycles.
    EXPECT_EQ(emissionCycle(7, 0, 0, 3, 0), 0);
    EXPECT_EQ(emissionCycle(7, 0, 0, 3, 2), 0);
    // A first emission less than a period ahead is still round 0 (truncation toward zero).
    EXPECT_EQ(emissionCycle(10, 10, 2, 3, 1), 0);
    EXPECT_EQ(emissionCycle(10, 10, 4, 3, 1), -1);
}

TEST(EmissionSchedule, APeriodOfZeroKeepsTheBirthFrame) {
    // 2 points at 100 per second: N * 30 < Birth.
    const int64_t p = period(2, 100);
    EXPECT_EQ(p, 0);
    const int64_t cycle = emissionCycle(50, 0, 0, p, 1);
    EXPECT_EQ(cycle, 50);
    EXPECT_EQ(birthFrame(0, 0, p, cycle), 0);
    EXPECT_EQ(birthTime(0, p, cycle, 1, 100), 0.01);
}

TEST(EmissionSchedule, ExtremeSettingsAreComputedExactly) {
    // Would overflow in 32 bits: the exact values are used (worked out by
    // hand, not with the schedule's own formulas).
    EXPECT_EQ(period(kMax, 1), 64424509410);
    EXPECT_EQ(emissionOffset(kMax, 1), 64424509410);
    EXPECT_EQ(period(100000000, 7), 428571428);
    // From kMin to kMax is 4294967295 frames: 47721858 whole periods of 90.
    EXPECT_EQ(emissionCycle(kMax, kMin, 0, 90, 1), 47721858);
    EXPECT_EQ(emissionCycle(kMin, kMax, 0, 1, 1), -4294967295);
    EXPECT_EQ(birthFrame(kMin, 30, 90, 47721858), 2147483602);
    // Frame 2147483572 is 71582785 s and 22 frames.
    EXPECT_DOUBLE_EQ(birthTime(kMin, 90, 47721858, 0, 1), 71582785.0 + 22.0 / 30.0);
    // kMax frames plus kMax particles at one per second.
    EXPECT_DOUBLE_EQ(birthTime(kMax, 0, 0, kMax, 1), 2219066435.0 + 7.0 / 30.0);
}

}  // namespace
}  // namespace plof
