// The effect's two fixed numbers, which the simulation, baking and the
// options panel share.
#pragma once

#include <cstdint>

namespace plof {

// Frames count 30 per second whatever the host's frame rate: the emission
// schedule, baking (time = frame / 30) and baked flight lengths use it.
inline constexpr int32_t kFramesPerSecond = 30;

// Degrees become radians with 3.1415, not pi: stored effects, baked scenes
// (the "Align H" heading) and the panel's spread preview depend on it.
inline constexpr double kEffectPi = 3.1415;

}  // namespace plof
