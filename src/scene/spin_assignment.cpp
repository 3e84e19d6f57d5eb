#include "scene/spin_assignment.h"

#include "base/number_format.h"
#include "instance/random_generator.h"

namespace plof {

namespace {

// Spins are drawn in hundredths of a degree per second.
constexpr double kSpinResolution = 100.0;

double drawSpin(double minimum, double maximum) {
    if (maximum == minimum) return minimum;
    const int32_t span = truncateToInt32((maximum - minimum) * kSpinResolution);
    // Bounds closer than a hundredth leave no whole hundredth to draw.
    if (span == 0) return minimum;
    // The draw is never negative, so the remainder lies in 0 .. |span| - 1.
    return (nextRandom() % span) / kSpinResolution + minimum;
}

}  // namespace

void assignSpins(HandlerInstance &instance) {
    if (instance.particles == nullptr) return;
    for (int32_t p = 0; p < instance.pointCount; ++p) {
        Particle &particle = instance.particles[p];
        for (int axis = 0; axis < 3; ++axis) {
            particle.spin[axis] = drawSpin(instance.hpbMin[axis], instance.hpbMax[axis]);
        }
    }
}

}  // namespace plof
