#include "sim/particle_placement.h"

#include <cmath>

#include "sim/emission_schedule.h"
#include "sim/flight.h"
#include "sim/solve_axes.h"

namespace plof {

namespace {

void rest(Particle &particle, const Vec3 &restingPlace) {
    particle.hidden = 1;
    particle.position = restingPlace;
    particle.flightTime = 0.0;
}

bool allFinite(const Vec3 &v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

// The launch velocity is in the emitter's own axes at the birth time; the
// flight is in world space from the emitter's position then.
void fly(const EmissionMoment &moment, const EmitterMotion &emitter, Particle &particle, double birthSeconds) {
    const ItemFrame launcher = emitter.frameAt(birthSeconds);
    const Vec3 &v = particle.launchVelocity;
    Vec3 world;
    for (int j = 0; j < 3; ++j) {
        world[j] = v[0] * launcher.x[j] + v[1] * launcher.y[j] + v[2] * launcher.z[j];
    }
    const double dt = moment.time - birthSeconds;
    Vec3 displacement;
    flightDisplacement(dt, moment.Gravity, world, moment.Regist, displacement);
    for (int j = 0; j < 3; ++j) particle.position[j] = launcher.position[j] + displacement[j];
    particle.flightTime = dt;
}

// A particle's place in world space for this frame: resting (before the
// start, unborn or dead) or in flight from its birth.
void placeInWorld(const EmissionMoment &moment, const EmitterMotion &emitter, Particle &particle, int32_t index,
                  int64_t cyclePeriod, const Vec3 &restingPlace) {
    if (moment.frame < moment.START_F || moment.Birth <= 0) {
        rest(particle, restingPlace);
        return;
    }
    const int64_t offset = emissionOffset(index, moment.Birth);
    const int64_t cycle = emissionCycle(moment.frame, moment.START_F, offset, cyclePeriod, moment.ReCycle);
    const int64_t bornAt = birthFrame(moment.START_F, offset, cyclePeriod, cycle);
    const double bornSeconds = birthTime(moment.START_F, cyclePeriod, cycle, index, moment.Birth);
    if (bornSeconds > moment.time || moment.frame - bornAt > particle.lifetime) {
        rest(particle, restingPlace);
        return;
    }
    if (bornAt == moment.frame) particle.hidden = 1;
    fly(moment, emitter, particle, bornSeconds);
}

void convertToObjectSpace(const ItemFrame &object, Vec3 &position) {
    Vec3 towardPivot;
    for (int j = 0; j < 3; ++j) towardPivot[j] = object.position[j] - position[j];
    Vec3 local;
    const double determinant = solveAxes(object.x, object.y, object.z, towardPivot, local);
    if (determinant != 0.0 && std::isfinite(determinant) && allFinite(local)) {
        position = local;
    } else {
        // Axes without an inverse: keep the offset from the object's position.
        for (int j = 0; j < 3; ++j) position[j] = position[j] - object.position[j];
    }
}

}  // namespace

void placeParticles(Particle *particles, int32_t count, const EmissionMoment &moment, const EmitterMotion &emitter,
                    const Vec3 &restingPlace, const ItemFrame *objectFrame) {
    const int64_t cyclePeriod = moment.Birth > 0 ? period(count, moment.Birth) : 0;
    // Each particle is cleared, placed and converted before the next, so a
    // frame walks the array once.
    for (int32_t i = 0; i < count; ++i) {
        Particle &particle = particles[i];
        particle.hidden = 0;
        placeInWorld(moment, emitter, particle, i, cyclePeriod, restingPlace);
        if (objectFrame != nullptr) convertToObjectSpace(*objectFrame, particle.position);
    }
}

}  // namespace plof
