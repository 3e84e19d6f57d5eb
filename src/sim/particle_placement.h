// Placing the particles of one emitter for one frame: each particle rests,
// or flies from its birth, by the emission schedule, its launch data and the
// flight under gravity and resistance, afresh at every frame, so frames may
// come in any order. Everything comes in as parameters; what the host
// answers (the emitter's motion, the resting place, the object's frame) is
// asked by the caller, or through EmitterMotion while the particles are
// placed.
#pragma once

#include <cstdint>

#include "base/vec3.h"
#include "sim/particle.h"

namespace plof {

// An item's own X, Y and Z axes and its position, in world space, at one time.
struct ItemFrame {
    Vec3 x, y, z, position;
};

// The emitter's motion: its frame at any time.
class EmitterMotion {
public:
    // Asked once for each particle in flight, in particle order, at that
    // particle's birth time: a particle leaves from the emitter as it was
    // then, so a moving emitter leaves a trail.
    virtual ItemFrame frameAt(double time) const = 0;

protected:
    ~EmitterMotion() = default;
};

// The moment placed and the settings the emission and the flight take, named
// after the instance's keywords.
struct EmissionMoment {
    int32_t frame;
    double time;      // seconds
    int32_t START_F;  // first emission frame
    int32_t Birth;    // particles per second; 0 or less emits nothing
    int32_t ReCycle;  // only 1 repeats the emission
    double Gravity;   // along world -Y
    double Regist;    // drag per second
};

// Sets position, hidden and flightTime of particles[0 .. count - 1] (count
// is also the N of the emission period). A particle before START_F, before
// its birth time or past its lifetime rests, hidden, at `restingPlace`; one
// born at this very frame flies hidden. Positions are in world space when
// objectFrame is null, else in the coordinates of objectFrame's axes about
// its position; where those axes have no finite inverse a particle keeps its
// offset from the position instead of non-finite coordinates. Allocates
// nothing.
void placeParticles(Particle *particles, int32_t count, const EmissionMoment &moment, const EmitterMotion &emitter,
                    const Vec3 &restingPlace, const ItemFrame *objectFrame);

}  // namespace plof
