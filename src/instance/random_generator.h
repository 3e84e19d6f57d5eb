// The module's one pseudo-random generator, shared by particle initialisation
// and scene baking. Its state lives in moduleState().randomState: 1 when the
// module is loaded and never reseeded, so the same sequence of operations
// gives the same particles on every run of the host.
#pragma once

#include <cstdint>

namespace plof {

// Advances the state (state * 214013 + 2531011, modulo 2^32) and returns bits
// 16 to 30 of the new state: 0 to 32767. The first draw after loading is 41.
int32_t nextRandom();

}  // namespace plof
