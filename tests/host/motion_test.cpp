#include "host/motion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace plof::host {
namespace {

MotionKey key(int32_t frame, double x, double tension = 0, double continuity = 0, double bias = 0) {
    MotionKey k;
    k.frame = frame;
    k.values[kX] = x;
    k.tension = tension;
    k.continuity = continuity;
    k.bias = bias;
    return k;
}

double at(const std::vector<MotionKey> &keys, double frame) { return interpolateChannel(keys, kX, frame); }

TEST(MotionTest, ValuesHoldBeforeTheFirstAndAfterTheLastKey) {
    const std::vector<MotionKey> keys{key(10, 2.0), key(20, 6.0)};
    EXPECT_EQ(at(keys, -5), 2.0);
    EXPECT_EQ(at(keys, 10), 2.0);
    EXPECT_EQ(at(keys, 20), 6.0);
    EXPECT_EQ(at(keys, 1000), 6.0);
    EXPECT_EQ(at({key(7, 3.5)}, 0), 3.5);
}

TEST(MotionTest, TwoKeysWithZeroTcbMoveInAStraightLine) {
    const std::vector<MotionKey> keys{key(0, 0.0), key(10, 10.0)};
    for (double frame : {1.0, 2.5, 5.0, 9.0}) {
        EXPECT_NEAR(at(keys, frame), frame, 1e-12) << frame;
    }
}

TEST(MotionTest, CatmullRomCaseMatchesHandComputedHermite) {
    // Keys 0/0, 10/10, 30/0: at frame 5 (s = 0.5) the outgoing tangent of the
    // first key is 10 (its missing neighbour difference taken as 10) and the
    // incoming tangent of the second is (0.5·10 + 0.5·(−10))·(2·10/30) = 0, so
    // 0.5·0 + 0.5·10 + 0.125·10 − 0.125·0 = 6.25.
    const std::vector<MotionKey> keys{key(0, 0.0), key(10, 10.0), key(30, 0.0)};
    EXPECT_NEAR(at(keys, 5), 6.25, 1e-12);
}

TEST(MotionTest, UnevenKeySpacingIsAdjustedSoCollinearKeysStayOnTheLine) {
    // Without the 2Δ/(Δ_before + Δ) scaling the second segment's outgoing
    // tangent would be 15 instead of 20 and the curve would sag below the line.
    const std::vector<MotionKey> keys{key(0, 0.0), key(10, 10.0), key(30, 30.0)};
    for (double frame : {3.0, 7.0, 12.0, 20.0, 27.5}) {
        EXPECT_NEAR(at(keys, frame), frame, 1e-12) << frame;
    }
}

TEST(MotionTest, TensionContinuityAndBiasShapeTheCurve) {
    // Tension 1 on both keys: zero tangents, an ease in and out: at s = 0.25
    // the Hermite weight of the second key is −2/64 + 3/16 = 0.15625.
    EXPECT_NEAR(at({key(0, 0.0, 1), key(8, 8.0, 1)}, 2), 8 * 0.15625, 1e-12);
    // Keys 0/0, 10/10, 20/0, at frame 15 (second segment, s = 0.5). Incoming
    // tangent at the end key: −10. Outgoing at the middle key: 0 with zero
    // TCB, 10 with bias 1, −10 with continuity −1.
    EXPECT_NEAR(at({key(0, 0), key(10, 10), key(20, 0)}, 15), 6.25, 1e-12);
    EXPECT_NEAR(at({key(0, 0), key(10, 10, 0, 0, 1), key(20, 0)}, 15), 7.5, 1e-12);
    EXPECT_NEAR(at({key(0, 0), key(10, 10, 0, -1, 0), key(20, 0)}, 15), 5.0, 1e-12);
}

TEST(MotionTest, LinearFlagOfTheLaterKeyMakesItsSegmentStraight) {
    std::vector<MotionKey> keys{key(0, 0), key(10, 10), key(20, 0)};
    keys[1].linear = 1;
    EXPECT_NEAR(at(keys, 5), 5.0, 1e-12);      // into the linear key: straight
    EXPECT_NEAR(at(keys, 15), 6.25, 1e-12);    // out of it, into a spline key: curved
    keys[2].linear = 1;
    EXPECT_NEAR(at(keys, 15), 5.0, 1e-12);
}

TEST(MotionTest, SortKeepsFileOrderOnTheSameFrame) {
    std::vector<MotionKey> keys{key(20, 1), key(5, 2), key(20, 3), key(0, 4)};
    sortKeys(keys);
    std::vector<double> order;
    for (const MotionKey &k : keys) {
        order.push_back(k.values[kX]);
    }
    EXPECT_EQ(order, (std::vector<double>{4, 2, 1, 3}));
}

TEST(MotionTest, PoseTakesPositionRotationAndScaleFromTheChannels) {
    MotionKey first, second;
    second.frame = 10;
    second.values = {10, 0, -4, 90, 0, 0, 3, 1, 1};
    first.linear = second.linear = 1;
    const ItemPose pose = poseFromMotion(std::vector<MotionKey>{first, second}, 5.0);
    EXPECT_NEAR(pose.position[0], 5.0, 1e-12);
    EXPECT_NEAR(pose.position[2], -2.0, 1e-12);
    EXPECT_NEAR(pose.scale[0], 2.0, 1e-12);
    // Heading 45: the Z axis points between +Z and +X.
    EXPECT_NEAR(pose.axes.z[0], std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(pose.axes.z[2], std::sqrt(0.5), 1e-12);

    const ItemPose rest = poseFromMotion({}, 3.0);
    EXPECT_EQ(rest.position, (Vec3{0, 0, 0}));
    EXPECT_EQ(rest.scale, (Vec3{1, 1, 1}));
}

TEST(MotionTest, StillMotionIsOneWhereEveryKeyHoldsTheSameValues) {
    EXPECT_TRUE(isStill({}));
    EXPECT_TRUE(isStill(std::vector<MotionKey>{key(0, 1), key(30, 1)}));
    EXPECT_FALSE(isStill(std::vector<MotionKey>{key(0, 1), key(30, 1.5)}));
}

}  // namespace
}  // namespace plof::host
