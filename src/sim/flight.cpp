#include "sim/flight.h"

#include <cmath>

#include "sim/exponential.h"

namespace plof {

namespace {

// Below this |k t| the closed form has lost most of its digits: its
// vertical term is the difference of two values near g t / k, so its
// rounding error is about 1e-16 / (k t)^2 of the drop g t^2 / 2, that is
// more than 1e-6 here, growing to the whole value by k t = 1e-8. The series
// below, cut after its s^3 terms, is exact there to under a rounding step
// (the next term is below s^4 / 120 < 1e-22). Above the threshold the closed
// form is accurate and is used.
constexpr double kSeriesBelow = 1e-5;

// The flight for small s = k t, in powers of s:
// (1 - e^-s) / k = t (1 - s/2 + s^2/6 - s^3/24), and the vertical drop
// g t^2 (1/2 - s/6 + s^2/24 - s^3/120).
void smallResistanceFlight(double t, double g, const Vec3 &w, double s, Vec3 &out) {
    const double carried = t * (1 - s / 2 + s * s / 6 - s * s * s / 24);
    const double drop = g * t * t * (0.5 - s / 6 + s * s / 24 - s * s * s / 120);
    out[0] = w[0] * carried;
    out[1] = w[1] * carried - drop;
    out[2] = w[2] * carried;
}

}  // namespace

void flightDisplacement(double t, double g, const Vec3 &w, double k, Vec3 &out) {
    if (k == 0.0) {
        out[0] = w[0] * t;
        out[1] = w[1] * t - t * t * g / 2;
        out[2] = w[2] * t;
        return;
    }
    // At t = 0 the closed form gives exact zeros already (signs included).
    const double s = k * t;
    if (t != 0.0 && std::fabs(s) < kSeriesBelow) {
        smallResistanceFlight(t, g, w, s, out);
        return;
    }
    // One exponential, e^-kt, serves all three components.
    const double e = expSeries(-k * t);
    out[0] = (1 - e) * (w[0] / k);
    out[2] = (1 - e) * (w[2] / k);
    out[1] = (1 - e) * ((g / k + w[1]) / k) + (-g / k) * t;
}

}  // namespace plof
