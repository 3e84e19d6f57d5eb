#include "sim/exponential.h"

#include <cmath>

#include "base/number_format.h"

namespace plof {

namespace {

constexpr double kEuler = 2.718281828459045;
constexpr double kResultLimit = 1e37;
constexpr double kTinyArgument = 1e-9;
// From here on the whole part no longer fits the 32-bit counter of the
// squaring loop; e^x is far beyond the limit anyway.
constexpr double kLargestWholePart = 2147483648.0;

double capped(double x) { return x >= 0 ? kExponentialCap : 0.0; }

}  // namespace

double absValue(double x) { return x < 0 ? -x : x; }

double splitParts(double x, double &intPart) {
    const double magnitude = absValue(x);
    const double whole = static_cast<double>(truncateToInt32(magnitude));
    const double fraction = magnitude - whole;
    intPart = x < 0 ? -whole : whole;
    return x < 0 ? -fraction : fraction;
}

double floorValue(double x) {
    double whole = 0.0;
    if (x >= 0) {
        splitParts(x, whole);
        return whole;
    }
    const double fraction = splitParts(-x, whole);
    if (fraction != 0.0) whole += 1.0;
    return -whole;
}

double expSeries(double x) {
    const double a = absValue(x);
    if (a < kTinyArgument || std::isnan(a)) return 1.0;
    if (a >= kLargestWholePart) return capped(x);

    int32_t n = static_cast<int32_t>(floorValue(a));
    const double f = a - n;

    // e^f by its series, summed until a term no longer changes the double.
    double sum = 1.0;
    double term = 1.0;
    int32_t k = 1;
    double previous = 0.0;
    do {
        previous = sum;
        term = (f / k) * term;
        sum = term + sum;
        k = k + 1;
    } while (sum != previous);

    // e^n by repeated squaring, stopping before the result passes the limit.
    double p = kEuler;
    while (n > 0) {
        if (n % 2 == 1) {
            if (kResultLimit / sum < p) return capped(x);
            sum = p * sum;
        }
        n = n / 2;
        p = p * p;
    }
    return x >= 0 ? sum : 1 / sum;
}

}  // namespace plof
