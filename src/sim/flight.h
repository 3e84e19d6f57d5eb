// The flight of one particle from its launch point: constant gravity along
// world -Y and a drag proportional to the velocity. Used by the update.
#pragma once

#include "sim/particle.h"

namespace plof {

// Writes to out the displacement after t seconds of a particle launched with
// world velocity w, under gravity g and resistance k per second (k exactly 0:
// no resistance). The closed form of dv/dt = -g*Y - k*v, with the module's
// own exponential (expSeries); where |k t| is below 1e-5 (t not 0), where
// that form cancels away its digits, the same flight as a power series in
// k t, so a tiny resistance flies as nearly no resistance does.
void flightDisplacement(double t, double g, const Vec3 &w, double k, Vec3 &out);

}  // namespace plof
