#include "host/scene_poses.h"

namespace plof::host {

ScenePoses::ScenePoses(const HostScene &scene, double framesPerSecond)
    : scene_(scene), fps_(framesPerSecond), cache_(scene.items.size()) {
    // Parents come anywhere in the scene order, so stillness is settled by
    // walking each item's chain of parents.
    for (std::size_t i = 0; i < cache_.size(); ++i) {
        bool still = true;
        for (int32_t at = static_cast<int32_t>(i) + 1; at != 0 && still;
             at = scene_.items[static_cast<std::size_t>(at) - 1].parent) {
            still = isStill(scene_.items[static_cast<std::size_t>(at) - 1].motion);
        }
        cache_[i].still = still;
    }
    for (std::size_t i = 0; i < cache_.size(); ++i) {
        if (cache_[i].still) {
            cache_[i].pose = compute(i, -std::numeric_limits<double>::infinity());  // the first key exactly
        }
    }
}

ItemPose ScenePoses::compute(std::size_t index, double time) {
    const HostItem &item = scene_.items[index];
    const ItemPose own = poseFromMotion(item.motion, time * fps_);
    if (item.parent == 0) {
        return own;
    }
    // The parent's entry may be cached for another time: compute it afresh.
    return composeUnderParent(compute(static_cast<std::size_t>(item.parent) - 1, time), own);
}

}  // namespace plof::host
