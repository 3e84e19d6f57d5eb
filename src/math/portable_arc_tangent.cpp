// portableAtan2, in the steps of math/trig_paths.h: its direct answers, and
// its fast path: the angle of the nearest ratio i/128 from the table, plus
// atan t for t = tan(atan(a/b) - atan(i/128)) = (a - c b) / (b + c a) with
// c = i/128, |t| <= 1/256. The exact path is exact_arc_tangent.cpp.
#include <cstdint>
#include <cstring>
#include <limits>

#include "math/double_bits.h"
#include "math/trig_paths.h"
#include "math/trig_tables.h"

namespace plof {

namespace {

constexpr DoubleDouble kQuarterTurn{0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};  // pi/2
constexpr double kPi = 0x1.921fb54442d18p+1;
constexpr double kQuarterPi = 0x1.921fb54442d18p-1;
constexpr double kThreeQuarterPi = 0x1.2d97c7f3321d2p+1;

// atan t - t = t^3 (-1/3 + t^2/5 - t^4/7 + t^6/9) for |t| <= 1/256, the first
// term left out below 2^-83 of t.
constexpr double kArcTangent3 = -1.0 / 3;
constexpr double kArcTangent5 = 1.0 / 5;
constexpr double kArcTangent7 = -1.0 / 7;
constexpr double kArcTangent9 = 1.0 / 9;

// The relative error of the fast estimate. Its result R is at least |t| and,
// with an offset, at least pi/4; with u = 2^-53 and t^2 <= 1.53e-5, in units
// of u R: atan t - t (relative error 4.8u, at most 5.1e-6 t) 2.5e-5; the
// roundings of the low part's sums (at most u times 5.2e-6 R each) 2.1e-5;
// t's own error from the division and the numerator's last rounding, the
// tables and the terms left out, below 2^-97 R. Together below 4.6e-5 u R =
// 2^-67.4 R; 2^-66 leaves a margin.
constexpr double kArcTangentRelativeError = 0x1p-66;

// Ratios below 2^-59 take the direct way: the exponents of smaller and
// larger at least this far apart.
constexpr int kTinyRatioExponentGap = 60;

// The offset of the parts, as a double-double.
DoubleDouble offsetOf(const ArcTangentParts &parts) {
    if (parts.quarterTurns == 0) return {0.0, 0.0};
    if (parts.quarterTurns == 1) return kQuarterTurn;
    return {2 * kQuarterTurn.high, 2 * kQuarterTurn.low};
}

// The significand of a finite v != 0 as an integer in [2^52, 2^53).
uint64_t significand(double v) {
    const double normalised = timesPowerOfTwo(v, 52 - binaryExponent(v));
    uint64_t bits = 0;
    std::memcpy(&bits, &normalised, sizeof bits);
    return (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
}

// atan(a/b) rounded to nearest for 0 < a/b < 2^-54, subnormal results
// included. atan q = q (1 - d) with 0 < d < q^2/3 < 2^-108, so q (1 - d) lies
// just below q: within the half-ulp step h of the result that q falls in,
// unless q is a multiple of h, when it lies just below that multiple. q/h is
// a fraction whose denominator is b's significand (below 2^53) and is below
// 2^55, so q d / h < 2^-53 cannot reach the next multiple.
double arcTangentOfTinyRatio(double a, double b) {
    const uint64_t aSignificand = significand(a);
    const uint64_t bSignificand = significand(b);
    const int ratioExponent = binaryExponent(a) - binaryExponent(b) - (aSignificand < bSignificand ? 1 : 0);
    const int ulpExponent = ratioExponent - 52 < -1074 ? -1074 : ratioExponent - 52;
    // q / h = (aSignificand / bSignificand) 2^shift, below 2^55.
    const int shift = binaryExponent(a) - binaryExponent(b) - ulpExponent + 1;
    uint64_t halfSteps = 0;
    bool inexact = true;
    if (shift >= 0) {
        halfSteps = aSignificand / bSignificand;
        uint64_t remainder = aSignificand % bSignificand;
        for (int i = 0; i < shift; ++i) {
            remainder <<= 1;
            halfSteps <<= 1;
            if (remainder >= bSignificand) {
                remainder -= bSignificand;
                halfSteps |= 1;
            }
        }
        inexact = remainder != 0;
    }
    // Just below q: the lower neighbour of an exact multiple, else q's own step, rounded half to even.
    const uint64_t steps = (halfSteps + (inexact ? 1 : 0)) / 2;
    // steps units of 2^ulpExponent; a carry into the next binade lands in the exponent field.
    const uint64_t bits = ulpExponent == -1074 ? steps : (static_cast<uint64_t>(ulpExponent + 52 + 1022) << 52) + steps;
    double result = 0.0;
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

}  // namespace

DoubleDouble arcTangentOfRatio(double a, double b) {
    const auto i = static_cast<int32_t>(a / b * kArcTangentSteps + 0.5);
    const double c = static_cast<double>(i) / kArcTangentSteps;
    // c has at most 8 bits: its halves are itself and 0, and both products are exact.
    const DoubleDouble cHalves{c, 0.0};
    const DoubleDouble cb = twoProduct(c, cHalves, b);
    const DoubleDouble ca = twoProduct(c, cHalves, a);
    const DoubleDouble numeratorHead = twoSum(a, -cb.high);
    const DoubleDouble numerator = twoSum(numeratorHead.high, numeratorHead.low - cb.low);
    const DoubleDouble denominatorHead = fastTwoSum(b, ca.high);
    const DoubleDouble denominator = fastTwoSum(denominatorHead.high, denominatorHead.low + ca.low);
    const DoubleDouble t = divide(numerator, denominator);
    const double w = t.high * t.high;
    const double tail = t.high * w * (kArcTangent3 + w * (kArcTangent5 + w * (kArcTangent7 + w * kArcTangent9)));
    const DoubleDouble angle = kArcTangentOfSteps[i];
    const DoubleDouble sum = twoSum(angle.high, t.high);
    return fastTwoSum(sum.high, sum.low + (angle.low + (t.low + tail)));
}

bool arcTangent2AnsweredDirectly(double y, double x, double &result) {
    if (std::isnan(x) || std::isnan(y)) {
        result = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    const bool left = std::signbit(x);  // x < 0, or x = -0
    double angle = 0.0;                 // the angle for |y|; y's sign is applied last
    if (ay == 0.0) {
        angle = left ? kPi : 0.0;
    } else if (std::isinf(ay)) {
        angle = std::isinf(ax) ? (left ? kThreeQuarterPi : kQuarterPi) : kQuarterTurn.high;
    } else if (std::isinf(ax)) {
        angle = left ? kPi : 0.0;
    } else if (ax == 0.0) {
        angle = kQuarterTurn.high;
    } else {
        const ArcTangentParts parts = arcTangentParts(y, x);
        if (parts.quarterTurns != 0 ||
            binaryExponent(parts.larger) - binaryExponent(parts.smaller) < kTinyRatioExponentGap) {
            return false;
        }
        angle = arcTangentOfTinyRatio(parts.smaller, parts.larger);
    }
    result = std::copysign(angle, y);
    return true;
}

Estimate arcTangent2Estimate(double y, double x) {
    const ArcTangentParts parts = arcTangentParts(y, x);
    const DoubleDouble offset = offsetOf(parts);
    const double sign = parts.negative ? -1.0 : 1.0;
    const double direction = parts.subtracted ? -1.0 : 1.0;
    const int exponent = binaryExponent(parts.larger);
    if (exponent - binaryExponent(parts.smaller) >= kTinyRatioExponentGap) {
        // Only with an offset: the ratio (even rounded to 0) changes its low part alone.
        const double low = offset.low + direction * (parts.smaller / parts.larger);
        return {{sign * offset.high, sign * low}, 0x1p-100 * offset.high};
    }
    // Scaled so that the larger lies in [1, 2): both stay exact.
    const DoubleDouble angle =
        arcTangentOfRatio(timesPowerOfTwo(parts.smaller, -exponent), timesPowerOfTwo(parts.larger, -exponent));
    const DoubleDouble head = twoSum(offset.high, direction * angle.high);
    const DoubleDouble value = fastTwoSum(head.high, head.low + (offset.low + direction * angle.low));
    return {{sign * value.high, sign * value.low}, kArcTangentRelativeError * std::fabs(value.high)};
}

double portableAtan2(double y, double x) {
    double result = 0.0;
    if (arcTangent2AnsweredDirectly(y, x, result) || roundsOneWay(arcTangent2Estimate(y, x), result)) return result;
    return exactArcTangent2(y, x);
}

}  // namespace plof
