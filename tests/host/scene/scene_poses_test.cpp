#include "host/scene/scene_poses.h"

#include <gtest/gtest.h>

namespace plof::host {
namespace {

MotionKey keyAt(int32_t frame, double x, double heading) {
    MotionKey key;
    key.frame = frame;
    key.values[kX] = x;
    key.values[kHeading] = heading;
    return key;
}

// `length` moving nulls, each the child of the one after it in scene order:
// posing in scene order meets every child before its parent.
HostScene reversedChain(std::size_t length) {
    HostScene scene;
    for (std::size_t i = 0; i < length; ++i) {
        HostItem null;
        null.isNull = true;
        null.motion = {keyAt(0, 0.5, 10), keyAt(30, 1.5, 40)};
        null.parent = i + 1 < length ? static_cast<int32_t>(i) + 2 : 0;
        scene.items.push_back(null);
    }
    return scene;
}

TEST(ScenePosesTest, EveryItemsMotionIsEvaluatedOncePerTimeHoweverLongTheChain) {
    constexpr std::size_t kLength = 300;
    const HostScene scene = reversedChain(kLength);
    ScenePoses poses(scene, 30.0);
    const uint64_t start = poses.motionEvaluations();
    for (std::size_t i = 0; i < kLength; ++i) poses.at(i, 0.5);
    EXPECT_EQ(poses.motionEvaluations() - start, kLength);
    for (std::size_t i = kLength; i-- > 0;) poses.at(i, 0.5);
    EXPECT_EQ(poses.motionEvaluations() - start, kLength) << "a second pass at the same time computes nothing";
    for (std::size_t i = kLength; i-- > 0;) poses.at(i, 0.75);
    EXPECT_EQ(poses.motionEvaluations() - start, 2 * kLength);
}

TEST(ScenePosesTest, KeptPosesHoldTheBitsOfPosingTheChainAfresh) {
    // A still parent (its child is posed on its pose at each time, as always),
    // a moving child, and a grandchild, asked in a mixed order of times.
    HostScene scene;
    HostItem parent, child, grandchild;
    parent.motion = {keyAt(0, 2, 30), keyAt(30, 2, 30)};
    parent.motion[1].tension = 0.3;
    child.motion = {keyAt(0, 1, 0), keyAt(30, 4, 90)};
    child.parent = 1;
    grandchild.motion = {keyAt(0, 3, 45), keyAt(30, -1, -45)};
    grandchild.parent = 2;
    scene.items = {parent, child, grandchild};
    ScenePoses poses(scene, 24.0);
    for (const double time : {0.25, 0.5, 0.25, 1.0, 0.5}) {
        const double frame = time * 24.0;
        const ItemPose parentPose = poseFromMotion(parent.motion, frame);
        const ItemPose childPose = composeUnderParent(parentPose, poseFromMotion(child.motion, frame));
        const ItemPose grandchildPose = composeUnderParent(childPose, poseFromMotion(grandchild.motion, frame));
        const ItemPose &asked = poses.at(2, time);
        EXPECT_EQ(asked.position, grandchildPose.position) << time;
        EXPECT_EQ(asked.axes.z, grandchildPose.axes.z) << time;
        EXPECT_EQ(poses.at(1, time).position, childPose.position) << time;
        EXPECT_EQ(poses.at(0, time).position, poseFromMotion(parent.motion, -1.0).position) << "still: its first key";
    }
}

}  // namespace
}  // namespace plof::host
