// Item poses of a scene at any time, cheap enough to answer the effect's
// per-particle queries: items that never move (their own motion still and
// every parent still) are posed once, the others are cached per item for the
// latest time asked. No allocation and no lookup by name after construction.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "host/host_scene.h"
#include "host/item_pose.h"

namespace plof::host {

class ScenePoses {
public:
    // `scene` must outlive this object and keep its items (and their motion)
    // unchanged. Parents must not form a cycle (the scene reader refuses them).
    ScenePoses(const HostScene &scene, double framesPerSecond);

    // The world pose of item `index` (0-based, scene order) at `time` seconds;
    // valid until the next call for the same item. Inline: the effect asks
    // several times per particle.
    const ItemPose &at(std::size_t index, double time) {
        Entry &entry = cache_[index];
        if (!entry.still && !(entry.time == time)) {
            entry.pose = compute(index, time);
            entry.time = time;
        }
        return entry.pose;
    }


private:
    struct Entry {
        bool still = false;
        double time = std::numeric_limits<double>::quiet_NaN();
        ItemPose pose;
    };
    ItemPose compute(std::size_t index, double time);

    const HostScene &scene_;
    double fps_;
    std::vector<Entry> cache_;
};

}  // namespace plof::host
