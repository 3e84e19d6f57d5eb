// Particle initialisation: every particle's launch velocity and lifetime,
// drawn from the module's random generator. Run as a pair, velocities first,
// when an instance is copied, when its settings are loaded from a scene, and
// whenever the options panel closes; a new instance is not initialised.
//
// Remainders (x mod d) truncate toward zero, so a draw mod d lies in
// 0 .. |d| - 1 whatever the sign of d. Differences of settings are taken in
// 64 bits, so any int32 settings give that rule without overflow; a speed span
// in hundredths beyond the int32 range saturates. A span of 0 (equal bounds,
// or speed bounds less than a hundredth apart) draws nothing and gives 0.
#pragma once

#include "instance/handler_instance.h"

namespace plof {

// Sets launchVelocity of particles 0 .. N-1 in order, in the emitter's own
// axes. Speed: V0Min plus whole hundredths below the span V0Max - V0Min.
// Direction: when OrgEmit is 1, from the object's origin toward the point
// (read through moduleState().objectAccess with the instance's objectHandle;
// a point at the origin, a missing point or one beyond the instance's
// objectPoints gives a zero direction); otherwise
// a random direction in the band SpreadMin .. SpreadMax degrees from +Y.
// Draw order per particle: speed, elevation, azimuth (each only when drawn).
void initialiseVelocities(HandlerInstance &instance);

// Sets lifetime of particles 0 .. N-1 in order: AgeMin .. AgeMax - 1 frames,
// or AgeMin when AgeMax is not above it; a lifetime of 0 becomes 1.
void initialiseLifetimes(HandlerInstance &instance);

}  // namespace plof
