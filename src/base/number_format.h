// The module's one number formatter and parser, and its float-to-int rule.
//
// Every number the module writes (keyword lines, settings files, scene text)
// goes through formatFixed, which is fmt underneath (and the shortest text of
// decimal/): the same bytes on every build and platform, unlike the C
// library's printf on Windows. Numbers are read with fast_float.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plof {

// Appends `value` in fixed notation with `decimals` (>= 0) digits after the point,
// right-aligned in at least `width` characters, exactly as printf's "%*.*f"
// gives it in the C locale. Writes at out[0..] and a terminating NUL.
// Returns the number of characters written (NUL not counted), or -1 when the
// text and its NUL do not fit in `capacity` bytes; out is then left empty
// (when capacity > 0).
int32_t formatFixed(char *out, std::size_t capacity, double value, int decimals, int width = 0);

// Appends the shortest text that parseDecimal reads back as exactly `value`
// ("1e+308", "0.1", "1.7976931348623157e+308"); same contract as formatFixed.
int32_t formatShortest(char *out, std::size_t capacity, double value);

// Appends a 32-bit integer as printf's "%d" gives it; same contract as formatFixed.
int32_t formatInteger(char *out, std::size_t capacity, int32_t value);

// Reads a decimal number as strtod does in the C locale: leading white space
// skipped, then a sign, digits, point and exponent as far as they are there,
// or "inf", "infinity" or "nan" in any case (what formatFixed writes for
// such values). Returns 0.0 when no number begins the text. Never reads past
// the NUL.
double parseDecimal(const char *text);

// Truncates toward zero into a 32-bit integer, saturating: values beyond the
// range give INT32_MIN or INT32_MAX, NaN gives 0. Never undefined behaviour.
int32_t truncateToInt32(double value);

// Narrows a value computed in 64 bits into a 32-bit integer, saturating.
int32_t clampToInt32(int64_t value);

}  // namespace plof
