// The size of a bake, computed before anything is sampled or allocated, by
// the rule of plof/bake_limit.h: particles x sampled frames, refused above
// PLOF_BAKE_MAX_SAMPLES. The arithmetic is 64-bit on values below 2^31, so
// nothing can wrap, and no size beyond the limit ever reaches an allocator.
#pragma once

#include <cstdint>

namespace plof {

struct BakeSize {
    int32_t sampledFrames = 0;     // frames 0, step, 2 x step, ... below the frame count
    uint64_t particleSamples = 0;  // particles x sampled frames
};

// The size of a bake of `particles` particles (none when negative) over
// frames 0 .. frameCount - 1 sampled every `frameStep` (a step below 1
// counts as 1; a frame count of 0 or less samples nothing). False when the
// bake exceeds PLOF_BAKE_MAX_SAMPLES particle-samples; `size` is filled
// either way.
bool planBake(int32_t particles, int32_t frameCount, int32_t frameStep, BakeSize &size);

}  // namespace plof
