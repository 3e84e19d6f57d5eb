#include "instance/instance_lifecycle.h"

#include <cstring>
#include <limits>
#include <new>

#include "instance/item_lookup.h"
#include "instance/module_state.h"
#include "instance/particle_launch.h"
#include "instance/particle_update.h"
#include "instance/setting_fields.h"

namespace plof {

namespace {

// A zero-filled array of `count` particles numbered 0 to count-1, or null.
// A negative count comes only from a confused host; like a count too large
// for memory it yields no array, so the caller reports "No memory".
Particle *allocateParticles(int32_t count) {
    if (count < 0) return nullptr;
    const auto length = static_cast<std::size_t>(count);
    if (length > std::numeric_limits<std::size_t>::max() / sizeof(Particle)) return nullptr;
    Particle *particles = new (std::nothrow) Particle[length]();
    if (particles == nullptr) return nullptr;
    for (int32_t i = 0; i < count; ++i) particles[i].index = i;
    return particles;
}

void setDefaults(HandlerInstance &instance) {
    instance.time = 0.0;
    for (const SettingField &field : kSettingFields) storeSetting(instance, field, field.defaultValue);
    instance.frameStep = 1;
    instance.objectList.count = 1;
    std::memcpy(instance.objectList.names[0].data(), "none", sizeof "none");
}

}  // namespace

HandlerInstance *createInstance(const char **errorText, PlofItemId item) {
    ModuleState &state = moduleState();
    auto *instance = new (std::nothrow) HandlerInstance{};
    if (instance == nullptr) {
        *errorText = kNoMemoryText;
        return nullptr;
    }
    instance->item = item;
    instance->pointCount = state.objectInfo->pointCount(item);
    setDefaults(*instance);
    instance->particles = allocateParticles(instance->pointCount);
    if (instance->particles == nullptr) {
        // The host gets no instance, so nobody else would release this one.
        delete instance;
        *errorText = kNoMemoryText;
        return nullptr;
    }
    instance->refItem = 0;
    // Each instance reads radial directions from its own object's points.
    instance->objectPoints = instance->pointCount;
    instance->objectHandle = state.objectAccess->accessHandle(state.objectInfo->meshSource(item));
    return instance;
}

void destroyInstance(HandlerInstance *instance) {
    if (instance == nullptr) return;
    delete[] instance->particles;
    delete instance;
}

const char *copyInstance(const HandlerInstance &from, HandlerInstance &to, PlofItemId item) {
    to.item = item;
    for (const SettingField &field : kSettingFields) copySetting(from, to, field);
    to.refResolved = from.refResolved;
    to.refItem = from.refItem;
    to.refName = from.refName;
    const int32_t count = from.pointCount;
    Particle *particles = allocateParticles(count);
    delete[] to.particles;
    to.particles = particles;
    if (particles == nullptr) {
        // The host still holds `to` and will destroy it: leave it consistent.
        to.pointCount = 0;
        return kNoMemoryText;
    }
    to.pointCount = count;
    initialiseVelocities(to);
    initialiseLifetimes(to);
    return nullptr;
}

const char *newTime(HandlerInstance &instance, PlofItemId item, int32_t frame, double time) {
    if (instance.refResolved == 0) {
        instance.refItem = findAvoidObject(instance.refName.data());
        instance.refResolved = 1;
    }
    instance.item = item;
    // The update records the frame and time and restarts the point cursor.
    update(instance, frame, time);
    return nullptr;
}

}  // namespace plof
