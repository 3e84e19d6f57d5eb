// The shortest decimal text of a double, for the module and the stand-in host
// alike: the fewest digits that read back as exactly the value (fmt's
// shortest digits), laid out as std::to_chars(first, last, value) lays them
// out, so that every build writes the bytes the project has always written,
// including builds whose C++ library has no floating-point to_chars.
//
// The layout: fixed notation ("0.1", "123.456", "100", "-0") unless
// scientific notation ("1e+05", "1e-07", "1.7976931348623157e+308", at least
// two exponent digits) is strictly shorter; an integer in fixed notation
// shows all its digits exactly ("1180591620717411303424" for 2^70). "inf",
// "-inf", "nan" and "-nan" for the values that are no numbers.
#pragma once

#include <cstddef>

namespace plof {

// Room for the longest text, "-2.2250738585072014e-308", and a NUL.
inline constexpr std::size_t kShortestDecimalRoom = 32;

// Writes the text of `value` and a NUL into `out`; returns its length.
std::size_t shortestDecimal(double value, char (&out)[kShortestDecimalRoom]);

}  // namespace plof
