#include "host/scene/item_pose.h"

#include <cmath>
#include <numbers>

#include "math/portable_math.h"

namespace plof::host {

namespace {

// An angle in degrees as radians for the project's sine and cosine. Beyond
// the radians their reduction handles exactly, whole turns are taken off in
// degrees first (fmod is exact), so every finite angle gives its direction;
// every angle below keeps the bits it always had.
double radians(double degrees) {
    constexpr double toRadians = std::numbers::pi / 180.0;
    const double angle = degrees * toRadians;
    return std::fabs(angle) <= kLargestTrigArgument ? angle : std::fmod(degrees, 360.0) * toRadians;
}

}  // namespace

Axes axesFromHpb(double heading, double pitch, double bank) {
    const double h = radians(heading), p = radians(pitch), b = radians(bank);
    const double ch = portableCos(h), sh = portableSin(h);
    const double cp = portableCos(p), sp = portableSin(p);
    const double cb = portableCos(b), sb = portableSin(b);
    Axes axes;
    axes.x = {ch * cb + sh * sp * sb, cp * sb, -sh * cb + ch * sp * sb};
    axes.y = {-ch * sb + sh * sp * cb, cp * cb, sh * sb + ch * sp * cb};
    axes.z = {sh * cp, -sp, ch * cp};
    return axes;
}

Vec3 rotate(const Axes &axes, const Vec3 &v) {
    Vec3 out;
    for (int i = 0; i < 3; ++i) {
        out[i] = v[0] * axes.x[i] + v[1] * axes.y[i] + v[2] * axes.z[i];
    }
    return out;
}

ItemPose composeUnderParent(const ItemPose &parent, const ItemPose &own) {
    ItemPose world;
    world.axes.x = rotate(parent.axes, own.axes.x);
    world.axes.y = rotate(parent.axes, own.axes.y);
    world.axes.z = rotate(parent.axes, own.axes.z);
    world.position = toWorld(parent, own.position);
    for (int i = 0; i < 3; ++i) {
        world.scale[i] = parent.scale[i] * own.scale[i];
    }
    return world;
}

Vec3 toWorld(const ItemPose &pose, const Vec3 &point) {
    const Vec3 scaled{pose.scale[0] * point[0], pose.scale[1] * point[1], pose.scale[2] * point[2]};
    const Vec3 turned = rotate(pose.axes, scaled);
    return {pose.position[0] + turned[0], pose.position[1] + turned[1], pose.position[2] + turned[2]};
}

}  // namespace plof::host
