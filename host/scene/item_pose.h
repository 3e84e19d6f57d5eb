// Where an item is and how it is turned at one moment: the stand-in host's
// rotation convention and the way a parent's motion carries its children.
//
// Rotation is heading h, pitch p, bank b in degrees. With ch = cos h,
// sh = sin h and so on, the item's own axes in world space are
//   X = (ch·cb + sh·sp·sb, cp·sb, −sh·cb + ch·sp·sb)
//   Y = (−ch·sb + sh·sp·cb, cp·cb, sh·sb + ch·sp·cb)
//   Z = (sh·cp, −sp, ch·cp)
// so heading 90 turns X to (0, 0, −1) and Z to (1, 0, 0). The axes are unit
// vectors: scale never enters them.
#pragma once

#include <array>

namespace plof::host {

using Vec3 = std::array<double, 3>;

// A rotation as its three columns: the item's own X, Y and Z axes in world space.
struct Axes {
    Vec3 x{1.0, 0.0, 0.0};
    Vec3 y{0.0, 1.0, 0.0};
    Vec3 z{0.0, 0.0, 1.0};
};

struct ItemPose {
    Axes axes;
    Vec3 position{};
    Vec3 scale{1.0, 1.0, 1.0};
};

// The axes of a heading, pitch and bank in degrees; finite for every finite angle.
Axes axesFromHpb(double heading, double pitch, double bank);

// x·X + y·Y + z·Z.
Vec3 rotate(const Axes &axes, const Vec3 &v);

// The pose of a child whose own pose is `own`, under a parent posed `parent`:
// world rotation = parent R × own R; world position = parent position +
// parent R × (parent scale ⊙ own position); scales multiply.
ItemPose composeUnderParent(const ItemPose &parent, const ItemPose &own);

// A point given in the item's own coordinates, in world coordinates:
// position + R × (scale ⊙ point).
Vec3 toWorld(const ItemPose &pose, const Vec3 &point);

}  // namespace plof::host
