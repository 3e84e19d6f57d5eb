#include "host/scene/item_pose.h"

#include <gtest/gtest.h>

#include <cmath>

namespace plof::host {
namespace {

void expectVec(const Vec3 &actual, const Vec3 &expected, const char *what) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-12) << what << " component " << i;
    }
}

Axes multiply(const Axes &a, const Axes &b) { return {rotate(a, b.x), rotate(a, b.y), rotate(a, b.z)}; }

TEST(ItemPoseTest, SingleAnglesTurnTheAxesAsTheHostDoes) {
    const Axes heading = axesFromHpb(90, 0, 0);
    expectVec(heading.x, {0, 0, -1}, "heading 90, X");
    expectVec(heading.y, {0, 1, 0}, "heading 90, Y");
    expectVec(heading.z, {1, 0, 0}, "heading 90, Z");

    const Axes pitch = axesFromHpb(0, 90, 0);
    expectVec(pitch.y, {0, 0, 1}, "pitch 90, Y");
    expectVec(pitch.z, {0, -1, 0}, "pitch 90, Z");

    const Axes bank = axesFromHpb(0, 0, 90);
    expectVec(bank.x, {0, 1, 0}, "bank 90, X");
    expectVec(bank.y, {-1, 0, 0}, "bank 90, Y");
}

TEST(ItemPoseTest, HeadingThenPitchThenBankComposeInThatOrder) {
    const double h = 35, p = -20, b = 50;
    const Axes combined = axesFromHpb(h, p, b);
    const Axes expected = multiply(multiply(axesFromHpb(h, 0, 0), axesFromHpb(0, p, 0)), axesFromHpb(0, 0, b));
    expectVec(combined.x, expected.x, "X");
    expectVec(combined.y, expected.y, "Y");
    expectVec(combined.z, expected.z, "Z");
    // Right-handed and orthonormal: X × Y = Z.
    const Vec3 &x = combined.x, &y = combined.y;
    expectVec({x[1] * y[2] - x[2] * y[1], x[2] * y[0] - x[0] * y[2], x[0] * y[1] - x[1] * y[0]}, combined.z, "X x Y");
}

TEST(ItemPoseTest, AnglesBeyondTheTrigonometrysRangeLoseWholeTurnsExactly) {
    // 1e10 degrees is 27777777 turns and 280 degrees; -1e12 is -280; 7e15 is 160.
    const Axes large = axesFromHpb(1e10, -1e12, 7e15);
    const Axes reduced = axesFromHpb(280, -280, 160);
    EXPECT_EQ(large.x, reduced.x);
    EXPECT_EQ(large.y, reduced.y);
    EXPECT_EQ(large.z, reduced.z);
    const Axes largest = axesFromHpb(1.7e308, 0, 0);
    for (double component : largest.x) EXPECT_TRUE(std::isfinite(component));
}

TEST(ItemPoseTest, ParentMotionCarriesTheChild) {
    ItemPose parent;
    parent.position = {1, 2, 3};
    parent.axes = axesFromHpb(90, 0, 0);
    parent.scale = {2, 2, 2};
    ItemPose child;
    child.position = {1, 0, 0};
    child.axes = axesFromHpb(90, 0, 0);
    child.scale = {1, 3, 1};

    const ItemPose world = composeUnderParent(parent, child);
    // (1,2,3) + R_parent · (2·(1,0,0)) = (1,2,3) + 2·(0,0,−1).
    expectVec(world.position, {1, 2, 1}, "position");
    expectVec(world.axes.x, {-1, 0, 0}, "heading 180, X");
    expectVec(world.scale, {2, 6, 2}, "scale");
    // A point one unit along the child's own Y: scaled by 6, still up.
    expectVec(toWorld(world, {0, 1, 0}), {1, 8, 1}, "point");
}

}  // namespace
}  // namespace plof::host
