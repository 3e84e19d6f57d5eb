// When each particle is emitted: particles leave in point order at `Birth`
// per second from frame `START_F` on, and with recycling the whole sequence
// repeats once every point has been emitted. Used by the update only.
//
// Frames count 30 per second whatever the host's frame rate. Frame arithmetic
// is integer arithmetic with divisions truncating toward zero. It is done
// exactly in 64 bits: wherever the 32-bit result fits, the value is that
// result; where a 32-bit computation would overflow (huge point counts,
// START_F near the int32 limits, frames far from START_F) the exact value is
// used instead of a wrapped one.
//
// Every function needs birth >= 1; the update never emits when `Birth` is
// 0 or less, so nothing here divides by it.
#pragma once

#include <cstdint>

#include "sim/effect_constants.h"

namespace plof {

// Frames between two emissions of the same particle: (N * 30) / birth.
int64_t period(int32_t pointCount, int32_t birth);

// Frames from START_F to particle i's first emission: (i * 30) / birth.
int64_t emissionOffset(int32_t index, int32_t birth);

// The recycling round particle i is in at `frame`: 0 unless reCycle is 1;
// otherwise (frame - startFrame - offset) / max(period, 1).
int64_t emissionCycle(int32_t frame, int32_t startFrame, int64_t offset, int64_t period, int32_t reCycle);

// startFrame + offset + period * cycle. The unclamped period is used: when it
// is 0 the birth frame never moves, so each particle flies once.
int64_t birthFrame(int32_t startFrame, int64_t offset, int64_t period, int64_t cycle);

// Seconds: (startFrame + period * cycle) / 30.0 + index / birth, the second
// term a real division (births are not rounded to frames).
double birthTime(int32_t startFrame, int64_t period, int64_t cycle, int32_t index, int32_t birth);

}  // namespace plof
