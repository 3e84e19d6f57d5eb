#include "host/scene/motion_text.h"

#include <gtest/gtest.h>

namespace plof::host {
namespace {

TEST(MotionTextTest, KeysReadBackFromTheirTextAreTheSameLinearKeysInFrameOrder) {
    const MotionText read = readMotionText("30:2,1.5,-0.1:0,45,0;0:0,1,0");
    ASSERT_EQ(read.problem, MotionText::Problem::None);
    ASSERT_EQ(read.keys.size(), 2u);
    EXPECT_EQ(read.keys[0].frame, 0);  // sorted
    EXPECT_EQ(read.keys[1].values[kPitch], 45.0);
    EXPECT_EQ(read.keys[1].values[kZ], -0.1);
    EXPECT_EQ(read.keys[1].linear, 1);
    EXPECT_EQ(motionText(read.keys), "0:0,1,0:0,0,0;30:2,1.5,-0.1:0,45,0");
    // Shortest round-trip numbers: written and read back, the same doubles.
    MotionKey key;
    key.values[kX] = 0.1 + 0.2;
    key.values[kBank] = -1e-300;
    key.linear = 1;
    const MotionText again = readMotionText(motionText(std::vector<MotionKey>{key}));
    ASSERT_EQ(again.keys.size(), 1u);
    EXPECT_EQ(again.keys[0].values, key.values);
}

TEST(MotionTextTest, EachProblemIsToldWithTheKeyOrChannelItIsAbout) {
    EXPECT_EQ(readMotionText("").problem, MotionText::Problem::NoKeys);
    const MotionText bad = readMotionText("0:0,0,0;10:1,2");
    EXPECT_EQ(bad.problem, MotionText::Problem::BadKey);
    EXPECT_EQ(bad.detail, "10:1,2");
    EXPECT_EQ(readMotionText("0:1,2,3:4,5").problem, MotionText::Problem::BadKey);
    EXPECT_EQ(readMotionText("4,5:1,2,3").problem, MotionText::Problem::BadKey);
    const MotionText far = readMotionText("0:0,0,0;10:1e200,0,0");
    EXPECT_EQ(far.problem, MotionText::Problem::Overflow);
    EXPECT_NE(far.detail.find("position X"), std::string::npos) << far.detail;
}

}  // namespace
}  // namespace plof::host
