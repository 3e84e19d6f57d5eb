// The particle record: one per point of the object carrying the effect, in
// point order (array index = point number). The instance owns the array; the
// update places every particle afresh for each frame from its launch data.
#pragma once

#include <cstdint>

#include "base/vec3.h"

namespace plof {

struct Particle {
    int32_t index;        // the point number, 0 to N-1
    Vec3 position;        // place at the current frame: world space while the
                          // update runs, object space after it unless baking
    Vec3 launchVelocity;  // along the emitter's own X, Y, Z axes, units per second
    Vec3 spin;            // heading, pitch, bank rates in degrees per second (baking only)
    int32_t lifetime;     // frames in flight after the birth frame; >= 1 once initialised
    uint8_t hidden;       // 1 when the particle is not shown at this frame
    Vec3 restPosition;    // the point position handed in at the last evaluate
    double flightTime;    // seconds since birth at the current frame; 0 when not in flight
};

}  // namespace plof
