// The host's positions and poses in glTF's axes.
//
// The host's axes are left-handed (+Y up; in the front view +X points right
// and +Z away from the viewer), glTF's are right-handed with +Z toward the
// viewer. Export mirrors Z: a point (x, y, z) becomes (x, y, −z), and an
// item's rotation R becomes M·R·M with M = diag(1, 1, −1), so that an effect
// looks in other tools as it does in the host. Mirroring is exact: a
// coordinate rounded to float32 is the played double rounded once, negated.
#pragma once

#include <array>

#include "host/scene/item_pose.h"

namespace plof::host {

// A glTF node's transform: translation, rotation as a unit quaternion
// (x, y, z, w), scale. The node's matrix is T·R·S.
struct GltfTransform {
    std::array<float, 3> translation{};
    std::array<float, 4> rotation{0.0F, 0.0F, 0.0F, 1.0F};
    std::array<float, 3> scale{1.0F, 1.0F, 1.0F};
};

// A host point as float32 in glTF's axes: each coordinate rounded once, z negated.
std::array<float, 3> gltfPoint(const Vec3 &point);

// The item pose as a glTF transform: the host places a point p of the item at
// position + R·(scale ⊙ p), which is exactly T·R·S in glTF (mirrored as above).
GltfTransform gltfTransform(const ItemPose &pose);

// The quaternion (x, y, z, w) of the rotation whose columns are the axes
// (in glTF's axes already), with w >= 0.
std::array<double, 4> quaternionFromAxes(const Axes &axes);

}  // namespace plof::host
