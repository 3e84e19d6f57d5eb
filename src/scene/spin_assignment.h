// The particles' spins for a bake: how fast each particle of a baked scene
// turns about its heading, pitch and bank, drawn from the module's random
// generator before the bake samples the simulation.
#pragma once

#include "instance/handler_instance.h"

namespace plof {

// Gives every particle, in order, a heading, pitch and bank spin (degrees
// per second) between hpbMin and hpbMax in whole hundredths, drawing one
// number from the module's generator per axis whose bounds differ. Bounds
// that are equal, or closer than a hundredth (a span of 0 hundredths), give
// the minimum and draw nothing.
void assignSpins(HandlerInstance &instance);

}  // namespace plof
