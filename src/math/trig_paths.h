// The steps every function of portable_math.h takes, in this order, declared
// here so that the tests can take them one at a time:
// 1. answers that need neither path (NaN, infinities, zeros, arguments too
//    large, and arguments so small or ratios so extreme that the answer
//    follows at once);
// 2. the fast path: an estimate in double-double with a proven bound on its
//    error, and the test whether every value within the bound rounds to the
//    same double;
// 3. the exact path, when that test cannot decide: multi-word integer
//    arithmetic, at growing precision until the rounding is certain.
#pragma once

#include <cmath>
#include <limits>

#include "math/double_double.h"
#include "math/portable_math.h"

namespace plof {

// The true value lies within errorBound of value.high + value.low.
struct Estimate {
    DoubleDouble value;
    double errorBound;
};

// Whether every real within e.errorBound of e.value rounds to the same double
// (to nearest, ties to even), which is then `result`. The bound is widened by
// 2^-50 of itself to cover the rounding of low +- bound.
inline bool roundsOneWay(const Estimate &e, double &result) {
    const double margin = e.errorBound + e.errorBound * 0x1p-50;
    const double above = e.value.high + (e.value.low + margin);
    if (above != e.value.high + (e.value.low - margin)) return false;
    result = above;
    return true;
}

// Step 1 for sin, cos and tan: true with the answer for a NaN, an infinity,
// |x| > kLargestTrigArgument (NaN), and |x| below 2^-26 for sin, 2^-27 for cos
// and tan, where the correctly rounded answer is x (sin, tan) or 1 (cos): the
// next term of the series is below half the distance to the neighbouring double.
inline bool sineAnsweredDirectly(double x, double &result) {
    const double magnitude = std::fabs(x);
    if (magnitude < 0x1p-26) {
        result = x;
        return true;
    }
    if (magnitude <= kLargestTrigArgument) return false;
    result = std::numeric_limits<double>::quiet_NaN();
    return true;
}

inline bool cosineAnsweredDirectly(double x, double &result) {
    const double magnitude = std::fabs(x);
    if (magnitude < 0x1p-27) {
        result = 1.0;
        return true;
    }
    if (magnitude <= kLargestTrigArgument) return false;
    result = std::numeric_limits<double>::quiet_NaN();
    return true;
}

inline bool tangentAnsweredDirectly(double x, double &result) {
    if (std::fabs(x) < 0x1p-27) {
        result = x;
        return true;
    }
    return cosineAnsweredDirectly(x, result);
}

// Step 2: estimates for 2^-27 <= |x| <= kLargestTrigArgument (2^-26 for sin).
Estimate sineEstimate(double x);
Estimate cosineEstimate(double x);
Estimate tangentEstimate(double x);

// Step 3 at one precision, `words` words of wide_fixed (3 to 25), for the
// same arguments: true when every value within its error bound rounds to one
// double, which is then `result`; otherwise `result` is the double nearest
// the value it found.
bool exactSineAt(double x, int words, double &result);
bool exactCosineAt(double x, int words, double &result);
bool exactTangentAt(double x, int words, double &result);

// Step 3: each precision of kExactPathWords (math/fixed_series.h) in turn
// until one is certain (the first is, for every argument tried).
double exactSine(double x);
double exactCosine(double x);
double exactTangent(double x);

// atan2(y, x) = sign * (offset + direction * atan(smaller / larger)), where
// smaller and larger are |y| and |x| in order of size and offset is a whole
// number of quarter turns: 0 (|y| <= |x|, x >= +0), pi/2 (|y| > |x|: minus
// the angle when x >= +0, plus it when x <= -0) or pi (|y| <= |x|, x <= -0).
struct ArcTangentParts {
    double smaller;
    double larger;
    int quarterTurns;  // 0, 1 or 2
    bool subtracted;   // direction -1
    bool negative;     // y < 0 or y = -0
};

inline ArcTangentParts arcTangentParts(double y, double x) {
    const double ay = std::fabs(y);
    const double ax = std::fabs(x);
    const bool left = std::signbit(x);
    if (ay <= ax) return {ay, ax, left ? 2 : 0, left, std::signbit(y)};
    return {ax, ay, 1, !left, std::signbit(y)};
}

// Step 1 for atan2: NaN, zeros and infinities as the C library defines them,
// and ratios below 2^-59 without an offset, where atan(q) = q (1 - q^2/3 + ...)
// is rounded exactly from q = smaller / larger with integer division.
bool arcTangent2AnsweredDirectly(double y, double x, double &result);

// Steps 2 and 3 for finite, nonzero y and x that step 1 did not answer.
Estimate arcTangent2Estimate(double y, double x);
bool exactArcTangent2At(double y, double x, int words, double &result);
double exactArcTangent2(double y, double x);

// atan(a / b) for 1 <= b < 2 and 2^-61 <= a <= b, to about 2^-66 of itself:
// the fast path's core, and the exact path's starting guess.
DoubleDouble arcTangentOfRatio(double a, double b);

}  // namespace plof
