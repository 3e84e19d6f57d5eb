#include "instance/random_generator.h"

#include <gtest/gtest.h>

#include "instance/module_state.h"
#include "support/module_state_reset.h"

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

}  // namespace
}  // namespace plof
