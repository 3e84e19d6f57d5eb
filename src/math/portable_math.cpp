#include "math/portable_math.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace plof {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A result carried with the rounding error of the operations that formed it:
// value + error holds it to about twice double precision, and value alone is
// the result rounded to a double.
struct Pair {
    double value;
    double error;
};

// a + b and its exact rounding error, for any a and b.
Pair twoSum(double a, double b) {
    const double sum = a + b;
    const double bPart = sum - a;
    return {sum, (a - (sum - bPart)) + (b - bPart)};
}

// a + b and its exact rounding error, when |a| >= |b|.
Pair fastTwoSum(double a, double b) {
    const double sum = a + b;
    return {sum, b - (sum - a)};
}

// a * b and its exact rounding error: each factor is split into two halves of
// 26 bits whose products are exact (Dekker). Needs |a|, |b| below 2^995.
Pair twoProduct(double a, double b) {
    auto split = [](double v, double &high, double &low) {
        const double scaled = 134217729.0 * v;  // 2^27 + 1
        high = scaled - (scaled - v);
        low = v - high;
    };
    double aHigh = 0.0, aLow = 0.0, bHigh = 0.0, bLow = 0.0;
    split(a, aHigh, aLow);
    split(b, bHigh, bLow);
    const double product = a * b;
    return {product, ((aHigh * bHigh - product) + aHigh * bLow + aLow * bHigh) + aLow * bLow};
}

// a - b for pairs, rounded to a pair again.
Pair subtract(const Pair &a, const Pair &b) {
    const Pair difference = twoSum(a.value, -b.value);
    return fastTwoSum(difference.value, difference.error + (a.error - b.error));
}

// n / d for pairs, rounded to a pair again.
Pair divide(const Pair &n, const Pair &d) {
    const double quotient = n.value / d.value;
    const Pair back = twoProduct(quotient, d.value);
    // n.value and back.value are within an ulp of each other: their difference is exact.
    const double remainder = (((n.value - back.value) - back.error) + n.error) - quotient * d.error;
    return fastTwoSum(quotient, remainder / d.value);
}

// 1/n!. The factorials up to 22! are exact in a double (their odd parts stay
// below 2^53), so each coefficient is the true one rounded once.
constexpr double inverseFactorial(int n) {
    double factorial = 1.0;
    for (int i = 2; i <= n; ++i) factorial *= i;
    return 1.0 / factorial;
}

// The Taylor coefficients (-1)^(p/2) / p! of the powers p = first, first + 2, ...
template <std::size_t N>
constexpr std::array<double, N> taylorCoefficients(int first) {
    std::array<double, N> coefficients{};
    for (std::size_t k = 0; k < N; ++k) {
        const int power = first + 2 * static_cast<int>(k);
        coefficients[k] = (power / 2 % 2 == 0 ? 1.0 : -1.0) * inverseFactorial(power);
    }
    return coefficients;
}

// sin x = x + x^3 (-1/3! + x^2/5! - ...) up to x^19/19!; for |x| <= pi/4 the
// first term left out, x^21/21!, is below 2e-22 (cos: x^20/20! below 4e-21).
constexpr auto kSineTerms = taylorCoefficients<9>(3);
constexpr auto kCosineTerms = taylorCoefficients<8>(4);

// atan u = u + u^3 (-1/3 + u^2/5 - ...) up to u^55/55; for |u| <= 1/2 the
// first term left out is below 2^-56 of u.
constexpr std::array<double, 26> kArcTangentTerms = [] {
    std::array<double, 26> coefficients{};
    for (std::size_t k = 0; k < coefficients.size(); ++k) {
        coefficients[k] = (k % 2 == 0 ? -1.0 : 1.0) / static_cast<double>(2 * k + 3);
    }
    return coefficients;
}();

// c[0] + z c[1] + z^2 c[2] + ..., from the highest power down.
template <std::size_t N>
double horner(const std::array<double, N> &c, double z) {
    double sum = c[N - 1];
    for (std::size_t k = N - 1; k-- > 0;) sum = sum * z + c[k];
    return sum;
}

// pi/2 cut into four parts, from its first 160 bits (computed with Machin's
// formula): a head of 27 bits and a middle of 25 bits, so that k times each is
// exact for |k| < 2^26, then twice the next 53 bits. Doubles come as close as
// 2^-60 to a multiple of pi/2 already below 50 (29 pi/2 is one), so the
// reduced angle needs more than 113 bits of pi/2 to keep its last bit.
constexpr double kHalfPiHead = 0x1.921fb54p+0;
constexpr double kHalfPiMiddle = 0x1.10b461p-30;
constexpr double kHalfPiTail = 0x1.a62633145c06ep-58;
constexpr double kHalfPiLast = 0x1.cd129024e088ap-115;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
// Adding and then subtracting 1.5 * 2^52 rounds a double of magnitude below
// 2^51 to the nearest integer.
constexpr double kRoundingShift = 0x1.8p52;

// pi/4, pi/2 and pi, each as the nearest double and the next 53 bits.
constexpr Pair kQuarterPi{0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55};
constexpr Pair kHalfPi{0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
constexpr Pair kPi{0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53};
constexpr double kThreeQuarterPi = 0x1.2d97c7f3321d2p+1;

struct Reduced {
    Pair angle;        // x - k pi/2, at most about pi/4 in magnitude
    int32_t quadrant;  // k mod 4
};

// Needs |x| <= kLargestTrigArgument, so that |k| < 2^26.
Reduced reduce(double x) {
    const double k = (x * kTwoOverPi + kRoundingShift) - kRoundingShift;
    // k * head is within a factor of 2 of x (or 0): the difference is exact.
    const double afterHead = x - k * kHalfPiHead;
    const Pair afterMiddle = twoSum(afterHead, -(k * kHalfPiMiddle));
    const Pair tail = twoProduct(k, kHalfPiTail);
    const Pair afterTail = twoSum(afterMiddle.value, -tail.value);
    const double rest = ((afterTail.error + afterMiddle.error) - tail.error) - k * kHalfPiLast;
    return {twoSum(afterTail.value, rest), static_cast<int32_t>(k) & 3};
}

// sin(a) for |a| <= about pi/4.
Pair sineKernel(const Pair &a) {
    const double x = a.value;
    const double z = x * x;
    // sin(x + e) = sin x + e cos x, and cos x = 1 - z/2 closely enough for an e this small.
    const double tail = x * z * horner(kSineTerms, z) + a.error * (1.0 - 0.5 * z);
    return fastTwoSum(x, tail);
}

// cos(a) for |a| <= about pi/4. 1 - x^2/2 is formed with its rounding errors
// kept, as it holds almost all of the result.
Pair cosineKernel(const Pair &a) {
    const double x = a.value;
    const Pair square = twoProduct(x, x);
    const double half = 0.5 * square.value;
    const double leading = 1.0 - half;
    const double z = square.value;
    // cos(x + e) = cos x - e sin x, and sin x = x closely enough here.
    const double tail =
        ((1.0 - leading) - half) + (z * z * horner(kCosineTerms, z) - (0.5 * square.error + x * a.error));
    return fastTwoSum(leading, tail);
}

// atan(t) for 0 <= t <= 1. Above 1/2, atan t = pi/4 + atan((t - 1) / (t + 1))
// brings the series' argument to |u| <= 1/3 with one exact subtraction and a
// division kept to twice precision (fewer roundings than halving the angle).
Pair arcTangentKernel(double t) {
    const bool shifted = t > 0.5;
    const Pair u = shifted ? divide({t - 1.0, 0.0}, fastTwoSum(1.0, t)) : Pair{t, 0.0};
    const double z = u.value * u.value;
    // atan(u + e) = atan u + e / (1 + u^2), and 1 / (1 + z) = 1 - z closely enough.
    const double tail = u.value * z * horner(kArcTangentTerms, z) + u.error * (1.0 - z);
    const Pair series = fastTwoSum(u.value, tail);
    if (!shifted) return series;
    const Pair sum = twoSum(kQuarterPi.value, series.value);
    return fastTwoSum(sum.value, sum.error + (kQuarterPi.error + series.error));
}

}  // namespace

double portableSin(double x) {
    if (x == 0.0) return x;
    if (!(std::fabs(x) <= kLargestTrigArgument)) return kNaN;
    const Reduced r = reduce(x);
    switch (r.quadrant) {
        case 0: return sineKernel(r.angle).value;
        case 1: return cosineKernel(r.angle).value;
        case 2: return -sineKernel(r.angle).value;
        default: return -cosineKernel(r.angle).value;
    }
}

double portableCos(double x) {
    if (!(std::fabs(x) <= kLargestTrigArgument)) return kNaN;
    const Reduced r = reduce(x);
    switch (r.quadrant) {
        case 0: return cosineKernel(r.angle).value;
        case 1: return -sineKernel(r.angle).value;
        case 2: return -cosineKernel(r.angle).value;
        default: return sineKernel(r.angle).value;
    }
}

double portableTan(double x) {
    if (x == 0.0) return x;
    if (!(std::fabs(x) <= kLargestTrigArgument)) return kNaN;
    const Reduced r = reduce(x);
    const Pair sine = sineKernel(r.angle);
    const Pair cosine = cosineKernel(r.angle);
    // Dividing the pairs rounds once at the end rather than three times.
    return r.quadrant % 2 == 0 ? divide(sine, cosine).value : -divide(cosine, sine).value;
}

double portableAtan2(double y, double x) {
    if (std::isnan(x) || std::isnan(y)) return kNaN;
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    const bool left = std::signbit(x);  // x < 0, or x = -0
    double angle = 0.0;                 // the angle for |y|; y's sign is applied last
    if (ay == 0.0) {
        angle = left ? kPi.value : 0.0;
    } else if (std::isinf(ay)) {
        angle = std::isinf(ax) ? (left ? kThreeQuarterPi : kQuarterPi.value) : kHalfPi.value;
    } else if (std::isinf(ax)) {
        angle = left ? kPi.value : 0.0;
    } else if (ax == 0.0) {
        angle = kHalfPi.value;
    } else {
        // The quotient of the smaller by the larger is at most 1 and never overflows.
        Pair a = ay <= ax ? arcTangentKernel(ay / ax) : subtract(kHalfPi, arcTangentKernel(ax / ay));
        if (left) a = subtract(kPi, a);
        angle = a.value;
    }
    return std::copysign(angle, y);
}

}  // namespace plof
