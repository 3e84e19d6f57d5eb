#include "host/scene/scene_poses.h"

namespace plof::host {

ScenePoses::ScenePoses(const HostScene &scene, double framesPerSecond)
    : scene_(scene), fps_(framesPerSecond), cache_(scene.items.size()) {
    chain_.reserve(cache_.size());
    for (const std::size_t i : parentsFirstOrder(scene).order) {
        const int32_t parent = scene_.items[i].parent;
        cache_[i].still =
            isStill(scene_.items[i].motion) && (parent == 0 || cache_[static_cast<std::size_t>(parent) - 1].still);
        if (cache_[i].still) {
            cache_[i].stillPose = poseAt(i, -std::numeric_limits<double>::infinity());  // the first key exactly
        }
    }
}

const ItemPose &ScenePoses::poseAt(std::size_t index, double time) {
    // A still parent is posed afresh at `time` too (not its still pose), as
    // its children have always been posed.
    chain_.clear();
    for (std::size_t at = index;;) {
        chain_.push_back(at);
        const int32_t parent = scene_.items[at].parent;
        if (parent == 0 || cache_[static_cast<std::size_t>(parent) - 1].time == time) {
            break;
        }
        at = static_cast<std::size_t>(parent) - 1;
    }
    for (auto item = chain_.rbegin(); item != chain_.rend(); ++item) {
        const HostItem &host = scene_.items[*item];
        const ItemPose own = poseFromMotion(host.motion, time * fps_);
        ++motionEvaluations_;
        Entry &entry = cache_[*item];
        entry.pose =
            host.parent == 0 ? own : composeUnderParent(cache_[static_cast<std::size_t>(host.parent) - 1].pose, own);
        entry.time = time;
    }
    return cache_[index].pose;
}

}  // namespace plof::host
