#include "math/fixed_series.h"

namespace plof {

namespace {

// first - second + third - ... for the terms t(n) = t(n - 2) r^2 / ((n - 1) n)
// from t(first power), until a term vanishes. With r <= 0.8 and r^2 within
// 2 rError + 1 <= 5 units, each term after the first stays within 4 units of
// its true value (the error shrinks by the divisor, at least 2, and each
// truncation adds at most 2); the first left out, and with it the
// alternating rest, is within 4 units of 0.
Bounded alternatingSeries(const Fixed &first, uint64_t firstError, int firstPower, const Fixed &r) {
    const Fixed square = multiply(r, r);
    Fixed added = first;
    Fixed subtracted = fixedUnits(0, first.words);
    Fixed term = first;
    uint64_t terms = 0;
    for (int n = firstPower + 2; !isZero(term); n += 2) {
        term = multiply(term, square);
        divideBySmall(term, static_cast<uint32_t>((n - 1) * n));
        add(terms % 2 == 0 ? subtracted : added, term);
        ++terms;
    }
    subtract(added, subtracted);
    return {added, firstError + 4 * terms + 4};
}

}  // namespace

Bounded sineSeries(const Fixed &r, uint64_t rError) { return alternatingSeries(r, rError, 1, r); }

Bounded cosineSeries(const Fixed &r, uint64_t /*rError*/) {
    Fixed one = fixedUnits(0, r.words);
    one.w[r.words - 1] = 1;
    return alternatingSeries(one, 0, 0, r);
}

// d - d^3/3 + d^5/5 - ...: with d <= 1/2, d^2 lies within dError + 1 units,
// each power within dError + 2 (the error of the last shrinks by d^2 <= 1/4,
// d^2's own adds at most half of dError + 1, the product's truncation 1), each
// term within dError + 2 after its division, and the first term left out,
// which bounds the alternating rest, as well.
Bounded arcTangentSeries(const Fixed &d, uint64_t dError) {
    const Fixed square = multiply(d, d);
    Fixed added = d;
    Fixed subtracted = fixedUnits(0, d.words);
    Fixed power = d;
    uint64_t terms = 0;
    for (uint32_t n = 3; !isZero(power); n += 2) {
        power = multiply(power, square);
        Fixed term = power;
        divideBySmall(term, n);
        add(terms % 2 == 0 ? subtracted : added, term);
        ++terms;
    }
    subtract(added, subtracted);
    return {added, dError + (terms + 1) * (dError + 2)};
}

}  // namespace plof
