#include "instance/particle_update.h"

#include <cmath>

#include "instance/module_state.h"
#include "sim/emission_schedule.h"
#include "sim/flight.h"
#include "sim/solve_axes.h"

namespace plof {

namespace {

struct ItemFrame {
    Vec3 x, y, z, position;
};

Vec3 queryParam(PlofItemId item, int32_t code, double time) {
    Vec3 value{};
    moduleState().itemInfo->param(item, code, time, value.data());
    return value;
}

ItemFrame queryFrame(PlofItemId item, double time) {
    return {queryParam(item, PLOF_PARAM_RIGHT, time), queryParam(item, PLOF_PARAM_UP, time),
            queryParam(item, PLOF_PARAM_FORWARD, time), queryParam(item, PLOF_PARAM_W_POSITION, time)};
}

void rest(Particle &particle, const Vec3 &restingPlace) {
    particle.hidden = 1;
    particle.position = restingPlace;
    particle.flightTime = 0.0;
}

bool allFinite(const Vec3 &v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

// A particle in flight leaves from the object's pivot with the object's
// position and orientation at its own birth time, so a moving emitter leaves
// a trail.
void fly(const HandlerInstance &instance, Particle &particle, double birthSeconds) {
    const ItemFrame emitter = queryFrame(instance.item, birthSeconds);
    const Vec3 &v = particle.launchVelocity;
    Vec3 world;
    for (int j = 0; j < 3; ++j) {
        world[j] = v[0] * emitter.x[j] + v[1] * emitter.y[j] + v[2] * emitter.z[j];
    }
    const double dt = instance.time - birthSeconds;
    Vec3 displacement;
    flightDisplacement(dt, instance.Gravity, world, instance.Regist, displacement);
    for (int j = 0; j < 3; ++j) particle.position[j] = emitter.position[j] + displacement[j];
    particle.flightTime = dt;
}

// A particle's place in world space for this frame: resting (before the
// start, unborn or dead) or in flight from its birth.
void placeInWorld(const HandlerInstance &instance, Particle &particle, int32_t index, int64_t cyclePeriod,
                  const Vec3 &restingPlace) {
    if (instance.frame < instance.START_F || instance.Birth <= 0) {
        rest(particle, restingPlace);
        return;
    }
    const int64_t offset = emissionOffset(index, instance.Birth);
    const int64_t cycle = emissionCycle(instance.frame, instance.START_F, offset, cyclePeriod, instance.ReCycle);
    const int64_t bornAt = birthFrame(instance.START_F, offset, cyclePeriod, cycle);
    const double bornSeconds = birthTime(instance.START_F, cyclePeriod, cycle, index, instance.Birth);
    if (bornSeconds > instance.time || instance.frame - bornAt > particle.lifetime) {
        rest(particle, restingPlace);
        return;
    }
    if (bornAt == instance.frame) particle.hidden = 1;
    fly(instance, particle, bornSeconds);
}

void convertToObjectSpace(const ItemFrame &object, Vec3 &position) {
    const double &determinant = moduleState().solve.determinant;
    Vec3 towardPivot;
    for (int j = 0; j < 3; ++j) towardPivot[j] = object.position[j] - position[j];
    Vec3 local;
    solveAxes(object.x, object.y, object.z, towardPivot, local);
    if (determinant != 0.0 && std::isfinite(determinant) && allFinite(local)) {
        position = local;
    } else {
        // Axes without an inverse: keep the offset from the object's position.
        for (int j = 0; j < 3; ++j) position[j] = position[j] - object.position[j];
    }
}

}  // namespace

ItemAxes queryAxes(PlofItemId item, double time) {
    return {queryParam(item, PLOF_PARAM_RIGHT, time), queryParam(item, PLOF_PARAM_UP, time),
            queryParam(item, PLOF_PARAM_FORWARD, time)};
}

void update(HandlerInstance &instance, int32_t frame, double time) {
    instance.frame = frame;
    instance.time = time;
    instance.pointCursor = 0;

    const PlofItemId restingItem = instance.refItem != 0 ? instance.refItem : instance.item;
    const Vec3 restingPlace = queryParam(restingItem, PLOF_PARAM_W_POSITION, time);
    // The host answers the same item, code and time with the same values, so
    // the object's frame at this time is asked once for all particles.
    const bool toObjectSpace = instance.bakeMode == 0;
    ItemFrame object{};
    if (toObjectSpace) object = queryFrame(instance.item, time);
    const int64_t cyclePeriod = instance.Birth > 0 ? period(instance.pointCount, instance.Birth) : 0;

    // One pass per particle (clear, place, convert): each particle's
    // arithmetic is that of separate passes, but the array is walked once,
    // which is what a frame of a large object costs.
    for (int32_t i = 0; i < instance.pointCount; ++i) {
        Particle &particle = instance.particles[i];
        particle.hidden = 0;
        placeInWorld(instance, particle, i, cyclePeriod, restingPlace);
        if (toObjectSpace) convertToObjectSpace(object, particle.position);
    }
}

}  // namespace plof
