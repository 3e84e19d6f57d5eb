// An item's motion as the host answers it through "LW Item Info": its own
// axes and its world position at a time. The service is the one fetched by
// handler activation, which must have run.
#pragma once

#include "plof/abi.h"
#include "sim/particle_placement.h"

namespace plof {

// The item's X, Y and Z axes (codes 2, 3, 4) and world position (code 8),
// asked in that order.
ItemFrame queryFrame(PlofItemId item, double time);

// The item's world position (code 8) alone.
Vec3 queryPosition(PlofItemId item, double time);

// An item's own X, Y and Z axes in world space at `time` (codes 2, 3, 4).
struct ItemAxes {
    Vec3 x, y, z;
};
ItemAxes queryAxes(PlofItemId item, double time);

// The motion of `item` as the particles' emitter: queryFrame at each time
// asked.
class HostItemMotion final : public EmitterMotion {
public:
    explicit HostItemMotion(PlofItemId item) : item_(item) {}
    ItemFrame frameAt(double time) const override { return queryFrame(item_, time); }

private:
    PlofItemId item_;
};

}  // namespace plof
