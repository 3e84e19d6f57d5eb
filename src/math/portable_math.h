// Sine, cosine, tangent and arc tangent computed by the project itself, for
// the module and the stand-in host alike.
//
// The C libraries round these differently in the last bit (glibc natively,
// MinGW's x87 code and msvcrt in the 32-bit Windows build), and a last bit
// in a launch direction or a rotation axis grows through the flight into
// points that differ between the builds. These functions use only double
// +, -, *, / and sqrt, each rounded exactly by IEEE 754 with SSE2 and without
// contraction, so every build gets the same bits from the same argument.
//
// Accuracy: within 1 unit in the last place of the C library's results (and
// about that of the true value) for every argument up to kLargestTrigArgument
// in magnitude: about 5.7 billion degrees, beyond any angle the system forms
// (whole degrees of 32-bit settings stay below 7.5e7 radians). The argument
// is reduced by multiples of pi/2 carried to 160 bits, so even arguments
// within 1e-18 of such a multiple keep their last bit.
#pragma once

namespace plof {

// Magnitude above which sin, cos and tan give NaN rather than a number that
// the argument reduction could no longer vouch for (radians).
inline constexpr double kLargestTrigArgument = 1.0e8;

// sin(x). Exact for 0 (keeping the sign of a zero); NaN for a NaN, an
// infinity or |x| > kLargestTrigArgument.
double portableSin(double x);

// cos(x). 1 for 0; NaN for a NaN, an infinity or |x| > kLargestTrigArgument.
double portableCos(double x);

// tan(x). Exact for 0 (keeping its sign); NaN for a NaN, an infinity or
// |x| > kLargestTrigArgument. No double is a multiple of pi/2, so the result
// is always finite.
double portableTan(double x);

// The angle of the point (x, y) from the positive x axis, in [-pi, pi], as
// the C library's atan2 defines it, zeros and infinities included:
// atan2(+-0, +0) = +-0, atan2(+-0, -0) = +-pi, atan2(y, +-inf) = +-0 or +-pi,
// atan2(+-inf, x) = +-pi/2 (+-pi/4 or +-3pi/4 when x is infinite too).
// NaN when either argument is NaN.
double portableAtan2(double y, double x);

}  // namespace plof
