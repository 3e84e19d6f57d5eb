// Sine, cosine, tangent and arc tangent computed by the project itself, for
// the module and the stand-in host alike, correctly rounded: each returns
// the double nearest the exact value of the function at its argument (ties
// to even), as every correct library must, so every build and every
// independent model agrees to the last bit.
//
// The C libraries round these differently in the last bit (glibc natively,
// MinGW's x87 code and msvcrt in the 32-bit Windows build), and a last bit in
// a launch direction or a rotation axis grows through the flight into points
// that differ between the builds. These functions use only double +, -, *
// and /, each rounded exactly by IEEE 754 with SSE2 and without contraction,
// and 32- and 64-bit integer arithmetic: every build gets the same bits.
//
// How (math/trig_paths.h): an estimate in double-double with a proven error
// bound, returned when every value within the bound rounds to the same double;
// otherwise (about 2 calls in 10 000) an exact path in multi-word integer
// arithmetic, pi/2 carried to 832 bits, at growing precision until the
// rounding is certain.
#pragma once

namespace plof {

// Magnitude above which sin, cos and tan give NaN (radians): far beyond
// any angle the system forms (whole degrees of 32-bit settings stay below 7.5e7
// radians); the correct rounding holds up to it.
inline constexpr double kLargestTrigArgument = 1.0e8;

// sin(x) correctly rounded for |x| <= kLargestTrigArgument (a zero keeps its
// sign); NaN for a NaN, an infinity or |x| > kLargestTrigArgument.
double portableSin(double x);

// cos(x) correctly rounded for |x| <= kLargestTrigArgument; NaN for a NaN, an
// infinity or |x| > kLargestTrigArgument.
double portableCos(double x);

// tan(x) correctly rounded for |x| <= kLargestTrigArgument (a zero keeps its
// sign); NaN for a NaN, an infinity or |x| > kLargestTrigArgument. No double
// is a multiple of pi/2, so the result is always finite.
double portableTan(double x);

// The angle of the point (x, y) from the positive x axis, in [-pi, pi],
// correctly rounded for all finite y and x (subnormal results included), and
// as the C library's atan2 defines it for zeros and infinities:
// atan2(+-0, +0) = +-0, atan2(+-0, -0) = +-pi, atan2(y, +-inf) = +-0 or +-pi,
// atan2(+-inf, x) = +-pi/2 (+-pi/4 or +-3pi/4 when x is infinite too), each
// of these angles the double nearest it. NaN when either argument is NaN.
double portableAtan2(double y, double x);

}  // namespace plof
