// Item poses of a scene at any time, cheap enough to answer the effect's
// per-particle queries: items that never move (their own motion still and
// every parent still) are posed once; every other item's world pose is kept
// for the latest time asked, and an item's pose at a time is built on its
// parent's kept pose at that time, so posing every item of a scene at one
// time computes each item's own motion once, however long the chains of
// parents. No allocation and no lookup by name after construction.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "host/scene/host_scene.h"
#include "host/scene/item_pose.h"

namespace plof::host {

class ScenePoses {
public:
    // `scene` must outlive this object and keep its items (and their motion)
    // unchanged. Parents must not form a cycle (the scene reader refuses them).
    ScenePoses(const HostScene &scene, double framesPerSecond);

    // The world pose of item `index` (0-based, scene order) at `time` seconds;
    // valid until the next call for the same item or one of its children.
    // Inline: the effect asks several times per particle.
    const ItemPose &at(std::size_t index, double time) {
        Entry &entry = cache_[index];
        if (entry.still) {
            return entry.stillPose;
        }
        return entry.time == time ? entry.pose : poseAt(index, time);
    }

    // How many times an item's own motion was evaluated so far.
    uint64_t motionEvaluations() const { return motionEvaluations_; }

private:
    struct Entry {
        bool still = false;
        ItemPose stillPose;
        double time = std::numeric_limits<double>::quiet_NaN();
        ItemPose pose;  // at `time`, composed with the parents' poses at that time
    };
    // Poses the item and those of its ancestors not yet posed at `time`,
    // parents first.
    const ItemPose &poseAt(std::size_t index, double time);

    const HostScene &scene_;
    double fps_;
    std::vector<Entry> cache_;
    std::vector<std::size_t> chain_;  // poseAt's working list, kept to avoid allocation
    uint64_t motionEvaluations_ = 0;
};

}  // namespace plof::host
