// Whether a played point of an item that carries the effect is at rest, as
// the host observes it from the world positions it places.
//
// The effect puts every point that is not flying (before START_F, unborn,
// dead, resting between flights, and on its birth frame, where it is
// hidden) at its resting place:
//   - OrgEmit 0: the item's pivot, or the avoid object's place when the
//     avoid object's name (REFERENCE) names an item of the scene;
//   - OrgEmit not 0: the point's own place on the object, offset by the
//     avoid object's place as seen from the object when there is one.
// The effect passes its places through the object's coordinates, so a point
// counts as at its resting place within a tolerance relative to the size of
// the coordinates involved, not only when equal. A point on its birth frame
// counts as at rest wherever it is: the effect hides it there (a bake
// dissolves it), and at frame rates other than 30 it may already have moved.
//
// Summaries count flights with it (a point away from its resting place),
// pictures draw resting points apart from flying ones, and exports scale
// particles to 0 while they rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "host/scene/host_scene.h"
#include "host/scene/item_pose.h"
#include "host/scene/scene_poses.h"
#include "host/settings/settings_reading.h"

namespace plof::host {

// The effect's emission schedule counts 30 frames per second.
inline constexpr int64_t kScheduleFps = 30;

// The recycle period in frames of `points` points born at `birth` a second
// (birth > 0): points x 30 / birth, in whole frames, as the effect counts it.
inline int64_t recyclePeriod(int64_t points, int64_t birth) { return points * kScheduleFps / birth; }

class RestingPlaces {
public:
    // For item `item` (0-based, scene order) of `scene`, which must outlive
    // this object unchanged, played at `framesPerSecond` with `settings`.
    RestingPlaces(const HostScene &scene, std::size_t item, const EffectSettings &settings, double framesPerSecond);

    // Poses the item (and the avoid object) for a frame and its time.
    void setFrame(int32_t frame, double time);

    // Where point `point` rests at the frame set last, in world coordinates.
    // An item without points (a null, an object file without points) plays
    // one position, its pivot, as point 0: it rests where OrgEmit 0 puts
    // points, and is always at rest.
    Vec3 place(std::size_t point) const;

    // Whether point `point`, found at `world` (x, y, z) at the frame set last,
    // is at rest there.
    bool atRest(std::size_t point, const double *world) const;

    // Whether the frame set last is point `point`'s birth frame.
    bool bornThisFrame(std::size_t point) const;

    // The item's pivot at the frame set last, in world coordinates.
    const Vec3 &pivot() const { return pose_.position; }

    // The avoid object's item index, when the settings name an item of the scene.
    std::optional<std::size_t> avoidItem() const { return avoid_; }

private:
    bool hasPoint(std::size_t point) const { return static_cast<int64_t>(point) < pointCount_; }

    const HostScene &scene_;
    std::size_t item_;
    EffectSettings settings_;
    ScenePoses poses_;
    std::optional<std::size_t> avoid_;
    int64_t pointCount_;
    int32_t frame_ = 0;
    ItemPose pose_;
    Vec3 restOffset_{};   // the avoid object's place seen from the item (0 when none)
    double scale_ = 1.0;  // size of the coordinates involved, for the tolerance
};

}  // namespace plof::host
