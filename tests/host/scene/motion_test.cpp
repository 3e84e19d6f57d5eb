#include "host/scene/motion.h"

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
    EXPECT_NEAR(at(keys, 5), 5.0, 1e-12);    // into the linear key: straight
    EXPECT_NEAR(at(keys, 15), 6.25, 1e-12);  // out of it, into a spline key: curved
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

TEST(MotionTest, ANanFrameHoldsTheFirstKey) {
    EXPECT_EQ(at({key(0, 2.0), key(10, 4.0), key(20, 8.0)}, std::nan("")), 2.0);
}

TEST(MotionTest, ReachBoundsTheChannelAtEveryFrame) {
    // Spline keys with strong tension, continuity and bias overshoot their
    // values; the reach must still cover every frame between them.
    const std::vector<MotionKey> keys{key(0, 0, -3), key(10, 10, -3, 0.5, 1), key(11, -10, -1, -2, 0.5),
                                      key(40, 0, -2, 2, -1)};
    const double reach = channelReach(keys, kX);
    double largest = 0;
    for (double frame = -1; frame <= 42; frame += 1.0 / 64) {
        largest = std::max(largest, std::fabs(at(keys, frame)));
    }
    EXPECT_GT(largest, 10.0) << "the keys overshoot: the key values alone do not bound them";
    EXPECT_GE(reach, largest);
    EXPECT_LT(reach, 100 * largest) << "a bound loose enough to refuse ordinary scenes";
    EXPECT_EQ(channelReach({}, kScaleY), 1.0);
}

TEST(MotionTest, KeysThatWouldPoseBeyondTheLargestValueAreNamed) {
    const std::string_view dissolve[] = {"dissolve"};
    EXPECT_EQ(channelOverflow(std::vector<MotionKey>{key(0, 1e149), key(10, -1e149)}, kMotionChannelNames), "");
    // Each key is within range, but the straight line between them is not.
    std::vector<MotionKey> apart{key(0, 1e308), key(10, -1e308)};
    apart[1].linear = 1;
    EXPECT_EQ(channelOverflow(apart, kMotionChannelNames),
              "between the keys at frames 0 and 10, position X goes beyond 1e+150 (the largest value the host "
              "poses items with)");
    // A tension far out of range makes the spline overshoot.
    EXPECT_NE(channelOverflow(std::vector<MotionKey>{key(0, 0, -1e200), key(5, 1)}, dissolve)
                  .find("between the keys at frames 0 and 5, dissolve goes beyond"),
              std::string::npos);
    MotionKey huge = key(30, 0);
    huge.values[kScaleZ] = 1e308;
    EXPECT_NE(channelOverflow(std::vector<MotionKey>{huge}, kMotionChannelNames)
                  .find("the key at frame 30 sets scale Z beyond 1e+150"),
              std::string::npos);
}

}  // namespace
}  // namespace plof::host
