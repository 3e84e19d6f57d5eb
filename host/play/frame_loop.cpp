#include "host/play/frame_loop.h"

namespace plof::host {

EffectPlayer::EffectPlayer(const EffectHandler &handler, HostScene &scene, HostServices &services)
    : handler_(handler), scene_(scene), services_(services), instances_(scene.items.size(), nullptr),
      flags_(scene.items.size(), PLOF_FLAGS_OBJECT), displaced_(scene.items.size()), world_(scene.items.size()) {
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
        const HostItem &item = scene.items[i];
        world_[i].resize(item.points.empty() ? 3 : item.points.size());
        if (!item.hasEffect) {
            continue;
        }
        displaced_[i].resize(item.points.size());
        services_.setCurrentItem(static_cast<PlofItemId>(i + 1));
        try {
            instances_[i] = handler_.create(static_cast<PlofItemId>(i + 1));
        } catch (...) {
            // Instances made so far go with this half-built player.
            for (PlofInstance made : instances_) {
                if (made) {
                    handler_.destroy(made);
                }
            }
            services_.setCurrentItem(0);
            throw;
        }
        // Lines the effect cannot read whole are told about by the settings
        // warnings, which name their file and line.
        handler_.load(instances_[i], item.effectLines);
    }
    services_.setCurrentItem(0);
}

EffectPlayer::~EffectPlayer() {
    for (PlofInstance instance : instances_) {
        if (instance) {
            handler_.destroy(instance);
        }
    }
}

int32_t runEffect(const PlofHandlerOperations &operations, HostServices &services, PlofInstance instance,
                  const HostItem &item, std::size_t index, int32_t frame, double time, double *displaced) {
    const auto itemId = static_cast<PlofItemId>(index + 1);
    services.setCurrentItem(itemId);
    operations.newTime(instance, itemId, frame, time);
    const int32_t flags = operations.flags(instance);
    const bool world = flags == PLOF_FLAGS_WORLD;
    // A copy: the module's own queries during evaluate move the pose cache.
    const ItemPose pose = world ? services.poses().at(index, time) : ItemPose{};
    const float *points = item.points.data();
    const std::size_t count = item.points.size() / 3;
    PlofDisplacementAccess access;
    for (std::size_t p = 0; p < count; ++p) {
        Vec3 handed{static_cast<double>(points[3 * p]), static_cast<double>(points[3 * p + 1]),
                    static_cast<double>(points[3 * p + 2])};
        if (world) {
            handed = toWorld(pose, handed);
        }
        for (int c = 0; c < 3; ++c) {
            access.original[c] = access.position[c] = handed[c];
        }
        operations.evaluate(instance, &access);
        displaced[3 * p] = access.position[0];
        displaced[3 * p + 1] = access.position[1];
        displaced[3 * p + 2] = access.position[2];
    }
    services.setCurrentItem(0);
    return flags;
}

void EffectPlayer::runEffects(int32_t frame, double time) {
    for (std::size_t i = 0; i < instances_.size(); ++i) {
        if (instances_[i]) {
            flags_[i] = runEffect(handler_.operations(), services_, instances_[i], scene_.items[i], i, frame, time,
                                  displaced_[i].data());
        }
    }
}

void EffectPlayer::placePoints(double time) {
    for (std::size_t i = 0; i < scene_.items.size(); ++i) {
        const HostItem &item = scene_.items[i];
        const ItemPose &pose = services_.poses().at(i, time);
        std::vector<double> &out = world_[i];
        if (item.points.empty()) {
            out[0] = pose.position[0];
            out[1] = pose.position[1];
            out[2] = pose.position[2];
            continue;
        }
        const bool displaced = instances_[i] != nullptr;
        const bool alreadyWorld = displaced && flags_[i] == PLOF_FLAGS_WORLD;
        const std::size_t count = item.points.size() / 3;
        for (std::size_t p = 0; p < count; ++p) {
            Vec3 point;
            for (int c = 0; c < 3; ++c) {
                point[c] = displaced ? displaced_[i][3 * p + c] : static_cast<double>(item.points[3 * p + c]);
            }
            if (!alreadyWorld) {
                point = toWorld(pose, point);
            }
            out[3 * p] = point[0];
            out[3 * p + 1] = point[1];
            out[3 * p + 2] = point[2];
        }
    }
}

void EffectPlayer::playFrame(int32_t frame, double time) {
    runEffects(frame, time);
    placePoints(time);
}

void EffectPlayer::saveInstances() {
    for (std::size_t i = 0; i < instances_.size(); ++i) {
        if (instances_[i]) {
            services_.setCurrentItem(static_cast<PlofItemId>(i + 1));
            scene_.items[i].effectLines = handler_.save(instances_[i]);
        }
    }
    services_.setCurrentItem(0);
}

}  // namespace plof::host
