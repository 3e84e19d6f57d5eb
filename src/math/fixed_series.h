// Taylor series on wide_fixed numbers for the exact path, each with a bound
// on its error in units (the last bit of the numbers' precision).
#pragma once

#include <cstdint>

#include "math/wide_fixed.h"

namespace plof {

// The exact path works at these counts of words, in turn, until the rounding
// is certain: 128, 288 and 768 bits of fraction.
inline constexpr int kExactPathWords[] = {5, 10, 25};

// The exact path at each precision in turn, `atPrecision(words, result)`
// returning true once certain; the last precision's nearest double otherwise.
template <typename AtPrecision>
double atEveryPrecision(AtPrecision atPrecision) {
    double result = 0.0;
    for (int words : kExactPathWords) {
        if (atPrecision(words, result)) break;
    }
    return result;
}

// A value within `error` units of the true one.
struct Bounded {
    Fixed value;
    uint64_t error;
};

// sin r and cos r for 0 <= r <= 0.8, r within rError <= 2 units of the true
// argument.
Bounded sineSeries(const Fixed &r, uint64_t rError);
Bounded cosineSeries(const Fixed &r, uint64_t rError);

// atan d for 0 <= d <= 1/2, d within dError units of the true argument.
Bounded arcTangentSeries(const Fixed &d, uint64_t dError);

}  // namespace plof
