// The module's own exponential and its small numeric helpers, used by the
// flight with air resistance. The module computes e^x with its own series
// rather than the library's so that its results, caps included, are the same
// on every build: the stored effect depends on them bit for bit.
#pragma once

#include <cstdint>

namespace plof {

// The value reported for an exponential above 1e37 (not the largest double).
inline constexpr double kExponentialCap = 1.79769e308;

// |x|; NaN stays NaN.
double absValue(double x);

// Splits x into a whole and a fractional part, both with the sign of x: the
// whole part is |x| truncated to a 32-bit integer (saturating at 2^31 - 1 for
// larger magnitudes; 0 for NaN), stored in intPart; the return value is |x|
// minus that whole part. splitParts(-2.5) stores -2 and returns -0.5.
double splitParts(double x, double &intPart);

// The largest whole number not above x, built from splitParts (so meaningful
// only for |x| below 2^31, not for NaN): floorValue(-2.5) = -3,
// floorValue(-2) = -2.
double floorValue(double x);

// e^x. Exactly 1.0 for |x| < 1e-9 and for NaN. Results never exceed 1e37:
// an e^x above that is reported as kExponentialCap, and an e^x below 1e-37
// as 0.0. Arguments of magnitude 2^31 or more (infinities included) give
// those capped values directly.
double expSeries(double x);

}  // namespace plof
