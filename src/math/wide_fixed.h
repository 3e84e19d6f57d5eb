// Non-negative fixed-point numbers of up to kMaxFixedWords 32-bit words: the
// multi-word integer arithmetic of the trigonometry's exact path, which uses
// only 32- and 64-bit integer operations and so gives the same bits on every
// build.
//
// A number of n words w[0..n-1] (w[0] least significant) is the integer
// w[n-1] plus the fraction w[0..n-2] / 2^(32 (n - 1)); a unit is the last
// bit, 2^-(32 (n - 1)). Operands of one operation have the same count of
// words. Operations truncate: each says by how much its result may fall below
// the exact one. None may overflow the integer word; the callers' magnitudes
// ensure it.
#pragma once

#include <cstdint>

namespace plof {

inline constexpr int kMaxFixedWords = 26;

struct Fixed {
    int words = 0;
    uint32_t w[kMaxFixedWords] = {};
};

// n units (n < 2^64).
Fixed fixedUnits(uint64_t n, int words);

// v >= 0, v < 2^32, truncated to a unit (exact when v is a multiple of one).
Fixed fixedFromDouble(double v, int words);

// The first `words - 1` fraction words of the table's words (most
// significant first, an integer word and then the fraction).
Fixed fixedFromWords(const uint32_t *mostSignificantFirst, int words);

bool isZero(const Fixed &a);
int compare(const Fixed &a, const Fixed &b);  // -1, 0 or 1

void add(Fixed &a, const Fixed &b);
void subtract(Fixed &a, const Fixed &b);  // needs a >= b
// |a - b|, and whether b > a.
Fixed difference(const Fixed &a, const Fixed &b, bool &negative);

// a * b, at most one unit below the exact product.
Fixed multiply(const Fixed &a, const Fixed &b);
// a * m exactly.
void multiplyBySmall(Fixed &a, uint32_t m);
// a / d, at most one unit below.
void divideBySmall(Fixed &a, uint32_t d);
// a / b for b > 0, at most one unit below; the quotient must be below 2^32.
Fixed divide(const Fixed &a, const Fixed &b);

// a * 2^bits exactly (bits >= 0, nothing shifted out of the integer word).
void shiftLeft(Fixed &a, int bits);
// The position of the highest set bit counted from the unit (0), -1 for zero.
int highestBit(const Fixed &a);
// The same number with one word more or less of fraction (dropping a word truncates).
Fixed withWords(const Fixed &a, int words);

// a * 2^scale rounded to the nearest double, ties to even, for a result
// within the normal range (or a = 0).
double roundToDouble(const Fixed &a, int scale);

// Whether every number within `error` of `a` (times 2^scale) rounds to the
// same double, which is then `result`.
bool roundsOneWay(const Fixed &a, const Fixed &error, int scale, double &result);

}  // namespace plof
