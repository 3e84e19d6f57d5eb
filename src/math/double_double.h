// Double-double arithmetic for the fast path of the correctly rounded
// trigonometry: a value carried as the unevaluated sum of two doubles, built
// from double +, - and * alone (no fused multiply-add, which the build
// forbids), so that every build gets the same bits.
//
// Each function states what it keeps exactly; the error bounds of the callers
// rest on these statements.
#pragma once

namespace plof {

// high + low, with |low| <= half an ulp of high once normalised.
struct DoubleDouble {
    double high;
    double low;
};

// a + b as the rounded sum and its exact rounding error, for any a and b (Knuth).
constexpr DoubleDouble twoSum(double a, double b) {
    const double sum = a + b;
    const double bPart = sum - a;
    return {sum, (a - (sum - bPart)) + (b - bPart)};
}

// a + b and its exact rounding error, when |a| >= |b| or a is 0 (Dekker).
constexpr DoubleDouble fastTwoSum(double a, double b) {
    const double sum = a + b;
    return {sum, b - (sum - a)};
}

// v split into two halves of at most 26 bits each, high + low = v exactly
// (Veltkamp). Needs |v| below 2^995.
constexpr DoubleDouble split(double v) {
    const double scaled = 134217729.0 * v;  // 2^27 + 1
    const double high = scaled - (scaled - v);
    return {high, v - high};
}

// a * b as the rounded product and its exact rounding error (Dekker), given
// a's halves. Exact unless the error falls below the smallest normal double.
constexpr DoubleDouble twoProduct(double a, const DoubleDouble &aHalves, double b) {
    const DoubleDouble bHalves = split(b);
    const double product = a * b;
    return {product,
            ((aHalves.high * bHalves.high - product) + aHalves.high * bHalves.low + aHalves.low * bHalves.high) +
                aHalves.low * bHalves.low};
}

constexpr DoubleDouble twoProduct(double a, double b) { return twoProduct(a, split(a), b); }

// n / d for double-doubles, |relative error| below 2^-100 when n and d are
// normalised and nothing overflows or underflows.
constexpr DoubleDouble divide(const DoubleDouble &n, const DoubleDouble &d) {
    const double quotient = n.high / d.high;
    const DoubleDouble back = twoProduct(quotient, d.high);
    // n.high and back.high lie within an ulp of each other: their difference is exact.
    const double remainder = (((n.high - back.high) - back.low) + n.low) - quotient * d.low;
    return fastTwoSum(quotient, remainder / d.high);
}

}  // namespace plof
