// The tables of the correctly rounded trigonometry, generated once with GNU
// MPFR (tests/math/tools/make_trig_tables.cpp) and checked entry by entry by
// trig_tables_test.
#pragma once

#include <cstdint>

#include "math/double_double.h"

namespace plof {

// The fast path of sin and cos turns by whole steps of pi/512 and looks up
// the sine of the steps.
inline constexpr uint32_t kStepsPerQuarterTurn = 256;

// sin(j pi/512) for j = 0..256 (a quarter turn), each the nearest double and
// the double nearest the rest; the other quarters follow by symmetry.
extern const DoubleDouble kSineOfSteps[kStepsPerQuarterTurn + 1];

// The fast path of atan2 starts from the nearest ratio i/128.
inline constexpr uint32_t kArcTangentSteps = 128;

// atan(i/128) for i = 0..128, as the sine table.
extern const DoubleDouble kArcTangentOfSteps[kArcTangentSteps + 1];

// pi/2 in 32-bit words, most significant first: the integer part (1), then
// 26 words of fraction (832 bits, truncated), for the exact path's argument
// reduction at every precision it uses.
inline constexpr int kHalfPiWordCount = 27;
extern const uint32_t kHalfPiWords[kHalfPiWordCount];

}  // namespace plof
