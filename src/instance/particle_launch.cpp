#include "instance/particle_launch.h"

#include <cmath>
#include <cstdint>

#include "base/number_format.h"
#include "instance/module_state.h"
#include "instance/random_generator.h"
#include "math/portable_math.h"
#include "sim/effect_constants.h"

namespace plof {

namespace {

// A draw reduced mod span, or 0 without a draw when the span is empty.
int64_t drawBelow(int64_t span) {
    if (span == 0) return 0;
    return nextRandom() % span;
}

double drawSpeed(const HandlerInstance &instance) {
    int64_t r = 0;
    if (instance.V0Max != instance.V0Min) {
        r = drawBelow(truncateToInt32((instance.V0Max - instance.V0Min) * 100));
    }
    return static_cast<double>(r) / 100 + instance.V0Min;
}

Vec3 radialDirection(const HandlerInstance &instance, int32_t point) {
    const ModuleState &state = moduleState();
    // A copy may hold more particles than its own object has points: those
    // beyond the object are not read and, like a point at the origin, get no
    // direction.
    const bool onObject = point < instance.objectPoints;
    const float *p = state.objectAccess != nullptr && onObject
                         ? state.objectAccess->pointPosition(instance.objectHandle, point)
                         : nullptr;
    if (p == nullptr) return {0.0, 0.0, 0.0};
    const double x = static_cast<double>(p[0]);
    const double y = static_cast<double>(p[1]);
    const double z = static_cast<double>(p[2]);
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0) return {0.0, 0.0, 0.0};  // a point at the origin has no direction
    return {x / length, y / length, z / length};
}

Vec3 spreadDirection(const HandlerInstance &instance) {
    const int64_t r = drawBelow(int64_t{instance.SpreadMax} - instance.SpreadMin);
    const int64_t elevation = r - (int64_t{instance.SpreadMax} - 90);
    const int64_t azimuth = nextRandom() % 360;
    const double e = static_cast<double>(elevation) * kEffectPi / 180;
    const double a = static_cast<double>(azimuth) * kEffectPi / 180;
    return {portableCos(e) * portableCos(a), portableSin(e), portableCos(e) * portableSin(a)};
}

}  // namespace

void initialiseVelocities(HandlerInstance &instance) {
    for (int32_t i = 0; i < instance.pointCount; ++i) {
        const double speed = drawSpeed(instance);
        const Vec3 direction = instance.OrgEmit == 1 ? radialDirection(instance, i) : spreadDirection(instance);
        Vec3 &velocity = instance.particles[i].launchVelocity;
        for (int j = 0; j < 3; ++j) velocity[j] = speed * direction[j];
    }
}

void initialiseLifetimes(HandlerInstance &instance) {
    for (int32_t i = 0; i < instance.pointCount; ++i) {
        int64_t lifetime = instance.AgeMin;
        if (instance.AgeMin < instance.AgeMax) {
            lifetime += drawBelow(int64_t{instance.AgeMax} - instance.AgeMin);
        }
        // Between AgeMin and AgeMax - 1, so it fits.
        instance.particles[i].lifetime = lifetime == 0 ? 1 : static_cast<int32_t>(lifetime);
    }
}

}  // namespace plof
