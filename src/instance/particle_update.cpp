#include "instance/particle_update.h"

#include "instance/item_motion.h"
#include "sim/particle_placement.h"

namespace plof {

void update(HandlerInstance &instance, int32_t frame, double time) {
    instance.frame = frame;
    instance.time = time;
    instance.pointCursor = 0;

    const PlofItemId restingItem = instance.refItem != 0 ? instance.refItem : instance.item;
    const Vec3 restingPlace = queryPosition(restingItem, time);
    // The host answers the same item, code and time with the same values, so
    // the object's frame at this time is asked once for all particles.
    const bool toObjectSpace = instance.bakeMode == 0;
    ItemFrame object{};
    if (toObjectSpace) object = queryFrame(instance.item, time);

    const EmissionMoment moment{
        frame, time, instance.START_F, instance.Birth, instance.ReCycle, instance.Gravity, instance.Regist};
    placeParticles(instance.particles, instance.pointCount, moment, HostItemMotion(instance.item), restingPlace,
                   toObjectSpace ? &object : nullptr);
}

}  // namespace plof
