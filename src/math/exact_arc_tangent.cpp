// The exact path of atan2: from a guess g of atan(a/b) (the fast path's
// core), atan(a/b) = g + atan d with d = (a cos g - b sin g) / (b cos g +
// a sin g), on wide_fixed numbers; d is tiny, so its series is short. Then
// the offset of whole quarter turns, until the rounding is certain.
#include <cstdint>

#include "math/double_bits.h"
#include "math/fixed_series.h"
#include "math/trig_paths.h"
#include "math/trig_tables.h"

namespace plof {

namespace {

// atan(a/b) for 1 <= b < 2 and 0 < a <= b, g within 2^-10 of it. a's
// fixed-point value is within a unit (b's is exact); g's is exact by
// definition, as the number the identity is used with. With cos g >= 0.69,
// the numerator and the denominator lie within 2 (ec + es) + 3 units (a, b
// < 2, each product truncating by 1) and the denominator is above 0.68, so d
// (at most 1/2) is within 1.5 (en + ed) + 1.
Bounded arcTangentFrom(double a, double b, double guess, int words) {
    const Fixed aFixed = fixedFromDouble(a, words);
    const Fixed bFixed = fixedFromDouble(b, words);
    const Fixed g = fixedFromDouble(guess, words);
    const Bounded sine = sineSeries(g, 0);
    const Bounded cosine = cosineSeries(g, 0);
    bool below = false;  // atan(a/b) < g
    const Fixed numerator = difference(multiply(aFixed, cosine.value), multiply(bFixed, sine.value), below);
    Fixed denominator = multiply(bFixed, cosine.value);
    add(denominator, multiply(aFixed, sine.value));
    const uint64_t partsError = 2 * (sine.error + cosine.error) + 3;
    const Fixed d = divide(numerator, denominator);
    const Bounded correction = arcTangentSeries(d, 3 * partsError + 1);
    Fixed angle = g;
    if (below) {
        subtract(angle, correction.value);
    } else {
        add(angle, correction.value);
    }
    return {angle, correction.error};
}

}  // namespace

bool exactArcTangent2At(double y, double x, int words, double &result) {
    const ArcTangentParts parts = arcTangentParts(y, x);
    const int exponent = binaryExponent(parts.larger);
    const int gap = exponent - binaryExponent(parts.smaller);
    Bounded angle{fixedUnits(0, words), 1};  // below 2^-(32 (words - 1)), a unit, when the gap is that wide
    if (gap <= 32 * (words - 1)) {
        // Scaled so that the larger lies in [1, 2): both stay exact.
        const double a = timesPowerOfTwo(parts.smaller, -exponent);
        const double b = timesPowerOfTwo(parts.larger, -exponent);
        const double guess = gap <= 60 ? arcTangentOfRatio(a, b).high : a / b;
        angle = arcTangentFrom(a, b, guess, words);
    }
    // Whole quarter turns of pi/2, each truncated by less than a unit.
    Fixed total = fixedFromWords(kHalfPiWords, words);
    multiplyBySmall(total, static_cast<uint32_t>(parts.quarterTurns));
    if (parts.subtracted) {
        subtract(total, angle.value);
    } else {
        add(total, angle.value);
    }
    const Fixed error = fixedUnits(angle.error + static_cast<uint64_t>(parts.quarterTurns), words);
    const bool certain = roundsOneWay(total, error, 0, result);
    if (!certain) result = roundToDouble(total, 0);
    if (parts.negative) result = -result;
    return certain;
}

double exactArcTangent2(double y, double x) {
    return atEveryPrecision([y, x](int words, double &result) { return exactArcTangent2At(y, x, words, result); });
}

}  // namespace plof
