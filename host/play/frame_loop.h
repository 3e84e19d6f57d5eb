// The host's frame loop over a scene: one effect instance per item that
// carries the effect, created in scene order and loaded from the item's saved
// lines; per frame, `newTime` once per instance, then `evaluate` once per
// point in point order, each handed the point's own position (object
// coordinates when `flags` answers 2, world coordinates when it answers 1).
//
// The player owns its instances and destroys them with itself. The module,
// scene, services and handler must outlive it; the scene's items must not
// change while it exists (save only rewrites their effect lines).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "host/module/loaded_handler.h"
#include "host/play/scene_services.h"
#include "host/scene/host_scene.h"

namespace plof::host {

// One instance's frame: `newTime` for item number index + 1, then `evaluate`
// for every point of `item`, handed in the coordinates `flags` asks for. The
// displaced points go to `displaced` (three doubles per point). Returns the
// flags answer. No allocation.
int32_t runEffect(const PlofHandlerOperations &operations, HostServices &services, PlofInstance instance,
                  const HostItem &item, std::size_t index, int32_t frame, double time, double *displaced);

class EffectPlayer {
public:
    // Creates and loads every instance. Throws ModuleError when creation fails.
    EffectPlayer(const EffectHandler &handler, HostScene &scene, HostServices &services);
    ~EffectPlayer();
    EffectPlayer(const EffectPlayer &) = delete;
    EffectPlayer &operator=(const EffectPlayer &) = delete;

    // newTime and every evaluate of every instance for one frame; the
    // displaced points are kept for placePoints. No allocation.
    void runEffects(int32_t frame, double time);

    // Every item's points in world space at `time`, after runEffects for the
    // same frame: displaced points for items with the effect, the item's own
    // points otherwise, and for an item without points its pivot. No allocation.
    void placePoints(double time);

    // runEffects, then placePoints.
    void playFrame(int32_t frame, double time);

    // x, y, z per point of item `index` (0-based) from the last placePoints;
    // one triple (the pivot) for an item without points.
    std::span<const double> worldPoints(std::size_t index) const { return world_[index]; }

    // Stores each instance's saved lines as its item's effect lines.
    void saveInstances();

    // The instance of item `index`, or null when the item has no effect.
    PlofInstance instance(std::size_t index) const { return instances_[index]; }

private:
    const EffectHandler &handler_;
    HostScene &scene_;
    HostServices &services_;
    std::vector<PlofInstance> instances_;
    std::vector<int32_t> flags_;
    std::vector<std::vector<double>> displaced_;
    std::vector<std::vector<double>> world_;
};

}  // namespace plof::host
