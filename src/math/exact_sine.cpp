// The exact path of sin, cos and tan: |x| = k pi/2 + r with pi/2 carried to
// 32 bits beyond the working precision, then the Taylor series of sin r and
// cos r on wide_fixed numbers, until the rounding of the result is certain.
#include <cstdint>

#include "math/fixed_series.h"
#include "math/trig_paths.h"
#include "math/trig_tables.h"

namespace plof {

namespace {

constexpr double kQuarterTurnsPerRadian = 0x1.45f306dc9c883p-1;  // 2/pi
constexpr double kRoundingShift = 0x1.8p52;

// |x| = k pi/2 (+ or -) r with 0 <= r <= pi/4 + 2^-20 and r within 2 units.
struct ExactReduced {
    Fixed r;
    bool negative;      // |x| = k pi/2 - r
    uint32_t quadrant;  // k mod 4
};

// For 2^-26 <= magnitude <= kLargestTrigArgument: k < 2^26. One word more
// than the result holds the magnitude exactly (its last bit is at least
// 2^-78) and k times pi/2 to within 2^-6 units; dropping it truncates.
ExactReduced reduce(double magnitude, int words) {
    const double k = (magnitude * kQuarterTurnsPerRadian + kRoundingShift) - kRoundingShift;
    const auto turns = static_cast<uint32_t>(static_cast<int32_t>(k));
    Fixed multiple = fixedFromWords(kHalfPiWords, words + 1);
    multiplyBySmall(multiple, turns);
    bool negative = false;
    const Fixed r = difference(fixedFromDouble(magnitude, words + 1), multiple, negative);
    return {withWords(r, words), negative, turns % 4};
}

constexpr uint64_t kReducedError = 2;

// sin(|x| + quarterTurns pi/2) at `words` words: true when every value
// within the error bound rounds to one double. `result` is that double, or
// the nearest double to the value found when it is not certain.
bool sineAt(double magnitude, uint32_t quarterTurns, int words, double &result) {
    const ExactReduced reduced = reduce(magnitude, words);
    const uint32_t quadrant = (reduced.quadrant + quarterTurns) % 4;
    // sin(q pi/2 + r): sin r, cos r, -sin r, -cos r; sin is odd in r, cos even.
    const bool even = quadrant % 2 == 0;
    const Bounded value = even ? sineSeries(reduced.r, kReducedError) : cosineSeries(reduced.r, kReducedError);
    const bool negative = (quadrant >= 2) != (even && reduced.negative);
    const bool certain = roundsOneWay(value.value, fixedUnits(value.error, words), 0, result);
    if (!certain) result = roundToDouble(value.value, 0);
    if (negative) result = -result;
    return certain;
}

// tan(|x|): tan r or -cot r by quadrant (its sign then by r's). The divisor
// is shifted to [1/2, 2) first, its error with it; the quotient q <= 2 of
// n +- en by d +- ed (ed <= d/4) is then within 3 (en + 2 ed) + 1 units.
bool tangentAt(double magnitude, int words, double &result) {
    const ExactReduced reduced = reduce(magnitude, words);
    const Bounded sine = sineSeries(reduced.r, kReducedError);
    const Bounded cosine = cosineSeries(reduced.r, kReducedError);
    const bool even = reduced.quadrant % 2 == 0;
    const Bounded &numerator = even ? sine : cosine;
    const Bounded &denominator = even ? cosine : sine;
    const int fractionBits = 32 * (words - 1);
    const int shift =
        highestBit(denominator.value) >= fractionBits - 1 ? 0 : fractionBits - 1 - highestBit(denominator.value);
    Fixed divisor = denominator.value;
    shiftLeft(divisor, shift);
    const Fixed quotient = divide(numerator.value, divisor);
    Fixed error = fixedUnits(2 * denominator.error, words);
    shiftLeft(error, shift);
    // Beyond ed <= d/4 the bound does not hold: the divisor is not known well enough.
    const bool bounded = highestBit(error) < fractionBits - 3;
    add(error, fixedUnits(numerator.error, words));
    multiplyBySmall(error, 3);
    add(error, fixedUnits(1, words));
    const bool certain = bounded && roundsOneWay(quotient, error, shift, result);
    if (!certain) result = roundToDouble(quotient, shift);
    if (even == reduced.negative) result = -result;
    return certain;
}

}  // namespace

bool exactSineAt(double x, int words, double &result) {
    const bool certain = sineAt(std::fabs(x), 0, words, result);
    if (x < 0) result = -result;
    return certain;
}

bool exactCosineAt(double x, int words, double &result) { return sineAt(std::fabs(x), 1, words, result); }

bool exactTangentAt(double x, int words, double &result) {
    const bool certain = tangentAt(std::fabs(x), words, result);
    if (x < 0) result = -result;
    return certain;
}

double exactSine(double x) {
    return atEveryPrecision([x](int words, double &result) { return exactSineAt(x, words, result); });
}

double exactCosine(double x) {
    return atEveryPrecision([x](int words, double &result) { return exactCosineAt(x, words, result); });
}

double exactTangent(double x) {
    return atEveryPrecision([x](int words, double &result) { return exactTangentAt(x, words, result); });
}

}  // namespace plof
