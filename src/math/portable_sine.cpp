// portableSin, portableCos and portableTan, in the steps of math/trig_paths.h,
// and their fast path: x = k pi/512 + r with r in double-double, then
// sin(x) = sin(k pi/512) cos r + cos(k pi/512) sin r from the table and short
// series in r. The exact path is exact_sine.cpp.
#include <cstdint>
#include <cstring>

#include "math/trig_paths.h"
#include "math/trig_tables.h"

namespace plof {

namespace {

constexpr double kStepsPerRadian = 0x1.45f306dc9c883p+7;  // 512/pi
// Adding and subtracting 1.5 * 2^52 rounds a double below 2^51 in magnitude
// to the nearest integer; the sum's low bits are that integer's.
constexpr double kRoundingShift = 0x1.8p52;
// pi/512 = kStep1 + kStep2 + kStep3 + kStep4 + less than 2^-158. The first two
// have 19 bits, so that k times each is exact for |k| < 2^34 (|x| <= 1e8 gives
// |k| < 1.7e10 < 2^34); the other two carry 53 bits each.
constexpr double kStep1 = 0x1.921fcp-8;
constexpr double kStep2 = -0x1.5777cp-29;
constexpr double kStep3 = 0x1.a308d313198a3p-49;
constexpr double kStep4 = -0x1.fc8f8cbb5bf6cp-105;

// 1/n!, rounded once (the factorials up to 22! are exact in a double).
constexpr double inverseFactorial(int n) {
    double factorial = 1.0;
    for (int i = 2; i <= n; ++i) factorial *= i;
    return 1.0 / factorial;
}

// For |r| <= pi/1024: sin r - r = r^3 (-1/3! + r^2/5! - r^4/7!) and
// cos r - 1 = r^2 (-1/2! + r^2/4! - r^4/6!), the first terms left out below
// 2^-85 of r and 2^-81.
constexpr double kSine3 = -inverseFactorial(3);
constexpr double kSine5 = inverseFactorial(5);
constexpr double kSine7 = -inverseFactorial(7);
constexpr double kCosine2 = -inverseFactorial(2);
constexpr double kCosine4 = inverseFactorial(4);
constexpr double kCosine6 = -inverseFactorial(6);

// The relative error of sineOfStepsPlus. Its result R is at least half of
// |sin(k pi/512)| (less 0.5%) and at least |cos(k pi/512) r| (less 1%); with
// u = 2^-53, |r| <= 0.003068, r^2 <= 9.42e-6, the errors are, in units of u R:
// cos r - 1 (relative error 3u, times |s| <= 2.01 R) 2.84e-5; sin r - r
// (relative error 4.4u, at most 1.57e-6 r) 0.7e-5; the roundings of the sums
// and products of the small terms (each at most u times 1.11e-5 R) 5.4e-5;
// the terms left out (s.low (cos r - 1), cos(k pi/512) r.low (cos r - 1),
// the series' next terms) 1.6e-5; the tables' and r's own relative errors
// 2^-103. Together below 1.07e-4 u R = 2^-66.19 R; 2^-66 leaves a margin.
constexpr double kSineRelativeError = 0x1p-66;
// The reduction's absolute error per unit of |k|: pi/512's parts stop 2^-158
// short, k kStep4 and the rounding of the low part's two sums (each at most
// 2^-53 of terms below |k| 2^-98) add 2^-151 each.
constexpr double kReductionErrorPerStep = 0x1p-149;

// x = step pi/512 + r, |r| <= pi/1024 (1 + 2^-17), with r to about 2^-104 of
// itself plus |k| kReductionErrorPerStep; step = k mod 2^32.
struct Reduced {
    DoubleDouble r;
    uint32_t step;
    double k;
};

inline Reduced reduce(double x) {
    constexpr DoubleDouble kStep3Halves = split(kStep3);
    const double shifted = x * kStepsPerRadian + kRoundingShift;
    const double k = shifted - kRoundingShift;
    uint64_t bits = 0;
    std::memcpy(&bits, &shifted, sizeof bits);
    // Both products are exact; so is each difference: the first by Sterbenz's
    // lemma (k kStep1 is within a factor of 2 of x), the second because it is
    // a multiple of 2^-61 (or of x's last bit) below 2^-8.
    const double head = (x - k * kStep1) - k * kStep2;
    const DoubleDouble third = twoProduct(kStep3, kStep3Halves, k);
    const DoubleDouble sum = twoSum(head, -third.high);
    const double low = (sum.low - third.low) - k * kStep4;
    return {twoSum(sum.high, low), static_cast<uint32_t>(bits), k};
}

// sin(step pi/512) for any step, from the quarter turn of the table.
inline DoubleDouble sineOfSteps(uint32_t step) {
    const uint32_t inQuarter = step % kStepsPerQuarterTurn;
    const bool falling = (step / kStepsPerQuarterTurn) % 2 != 0;
    const DoubleDouble v = kSineOfSteps[falling ? kStepsPerQuarterTurn - inQuarter : inQuarter];
    const bool negative = (step / (2 * kStepsPerQuarterTurn)) % 2 != 0;
    return negative ? DoubleDouble{-v.high, -v.low} : v;
}

// sin(step pi/512 + r) = s cos r + c sin r, with s and c the sine and cosine
// of the step: s + c r.high exactly, the rest in doubles.
inline DoubleDouble sineOfStepsPlus(uint32_t step, const DoubleDouble &r) {
    const DoubleDouble s = sineOfSteps(step);
    const DoubleDouble c = sineOfSteps(step + kStepsPerQuarterTurn);
    const double z = r.high * r.high;
    const double sineTail = r.high * z * (kSine3 + z * (kSine5 + z * kSine7));  // sin r.high - r.high
    const double cosineTail = z * (kCosine2 + z * (kCosine4 + z * kCosine6));   // cos r.high - 1
    const DoubleDouble turned = twoProduct(c.high, r.high);
    const DoubleDouble sum = twoSum(s.high, turned.high);
    // cos r = 1 + cosineTail - r.low r.high, sin r = r.high + sineTail + r.low, to the terms left out.
    const double rest =
        s.low + (s.high * (cosineTail - r.low * r.high) + (c.high * (r.low + sineTail) + c.low * r.high));
    return fastTwoSum(sum.high, (sum.low + turned.low) + rest);
}

inline Estimate sineOfShifted(double x, uint32_t quarterTurns) {
    const Reduced reduced = reduce(x);
    const DoubleDouble value = sineOfStepsPlus(reduced.step + quarterTurns * kStepsPerQuarterTurn, reduced.r);
    return {value, kSineRelativeError * std::fabs(value.high) + kReductionErrorPerStep * std::fabs(reduced.k)};
}

}  // namespace

Estimate sineEstimate(double x) { return sineOfShifted(x, 0); }

Estimate cosineEstimate(double x) { return sineOfShifted(x, 1); }

double portableSin(double x) {
    double result = 0.0;
    if (sineAnsweredDirectly(x, result) || roundsOneWay(sineEstimate(x), result)) return result;
    return exactSine(x);
}

double portableCos(double x) {
    double result = 0.0;
    if (cosineAnsweredDirectly(x, result) || roundsOneWay(cosineEstimate(x), result)) return result;
    return exactCosine(x);
}

// tan x = sin x / cos x, both from one reduction; the quotient's relative
// error is at most the sum of theirs and the division's 2^-100.
Estimate tangentEstimate(double x) {
    const Reduced reduced = reduce(x);
    const DoubleDouble sine = sineOfStepsPlus(reduced.step, reduced.r);
    const DoubleDouble cosine = sineOfStepsPlus(reduced.step + kStepsPerQuarterTurn, reduced.r);
    const DoubleDouble tangent = divide(sine, cosine);
    const double absolute = kReductionErrorPerStep * std::fabs(reduced.k);
    // Each part's error relative to itself, widened by 2^-40 for the roundings of this sum.
    const double relative =
        (2 * kSineRelativeError + 0x1p-100) + absolute / std::fabs(sine.high) + absolute / std::fabs(cosine.high);
    return {tangent, std::fabs(tangent.high) * (relative + relative * 0x1p-40)};
}

double portableTan(double x) {
    double result = 0.0;
    if (tangentAnsweredDirectly(x, result) || roundsOneWay(tangentEstimate(x), result)) return result;
    return exactTangent(x);
}

}  // namespace plof
