#include "sim/random_generator.h"

#include <gtest/gtest.h>

#include "plugin/module_state.h"

namespace plof {
namespace {

TEST(NextRandom, FollowsTheModuleSequenceFromLoad) {
    resetModuleState();
    EXPECT_EQ(nextRandom(), 41);
    EXPECT_EQ(nextRandom(), 18467);
    EXPECT_EQ(nextRandom(), 6334);
    EXPECT_EQ(nextRandom(), 26500);
    EXPECT_EQ(moduleState().randomState, 3884216597u);
}

TEST(NextRandom, StaysWithinFifteenBitsAcrossTheWrap) {
    resetModuleState();
    moduleState().randomState = 0xFFFFFFFFu;
    for (int i = 0; i < 100000; ++i) {
        const int32_t r = nextRandom();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
    resetModuleState();
}

}  // namespace
}  // namespace plof
