// The per-frame update: places every particle of an instance for one frame,
// afresh from its launch data and the host's item motion, so frames may come
// in any order. Called by newTime with the host's frame and time, and by
// scene baking with frame b and time b / 30.0.
#pragma once

#include <cstdint>

#include "instance/handler_instance.h"

namespace plof {

// Stores frame and time in the instance, resets pointCursor, and sets every
// particle's position, hidden and flightTime for that frame (placeParticles,
// sim/particle_placement.h). Positions end in the object's own coordinates,
// or stay in world space while bakeMode is set.
//
// Asks the host, through moduleState().itemInfo, which must be set: the world
// position (code 8) of refItem, or of the instance's item when there is no
// avoid object, where particles rest; the axes (codes 2, 3, 4) and world
// position of the item at `time`, unless baking; and the item's axes and
// position at the birth time of each particle in flight. A Birth of 0 or
// less emits nothing: every particle rests, hidden. When the host's axes are
// degenerate (no finite inverse) a particle is left at its offset from the
// object's position instead of non-finite coordinates. Allocates nothing.
void update(HandlerInstance &instance, int32_t frame, double time);

}  // namespace plof
