#include "sim/flight.h"

#include "sim/exponential.h"

namespace plof {

void flightDisplacement(double t, double g, const Vec3 &w, double k, Vec3 &out) {
    if (k == 0.0) {
        out[0] = w[0] * t;
        out[1] = w[1] * t - t * t * g / 2;
        out[2] = w[2] * t;
        return;
    }
    // One exponential serves all three components: the function is pure, so
    // this equals evaluating it once per component, bit for bit.
    const double e = expSeries(-k * t);
    out[0] = (1 - e) * (w[0] / k);
    out[2] = (1 - e) * (w[2] / k);
    out[1] = (1 - e) * ((g / k + w[1]) / k) + (-g / k) * t;
}

}  // namespace plof
