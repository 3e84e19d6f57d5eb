// A handler instance for the unit suites: zero-filled like the module's own,
// with the settings and the placeholder object list a new instance gets and
// `pointCount` particles whose index is set. The instance owns nothing; this
// record owns both allocations.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "instance/handler_instance.h"

namespace plof::test {

struct TestInstance {
    explicit TestInstance(int32_t pointCount = 4, PlofItemId item = 0)
        : instance(std::make_unique<HandlerInstance>()), particles(static_cast<std::size_t>(pointCount)) {
        HandlerInstance &h = *instance;
        h.item = item;
        h.pointCount = pointCount;
        h.V0Min = 1.0;
        h.V0Max = 4.0;
        h.SpreadMin = 0;
        h.SpreadMax = 180;
        h.AgeMin = 10;
        h.AgeMax = 60;
        h.Gravity = 9.8;
        h.Birth = 100;
        h.ReCycle = 1;
        h.frameStep = 1;
        h.objectList.count = 1;
        std::strcpy(h.objectList.names[0].data(), "none");
        for (int32_t i = 0; i < pointCount; ++i) particles[static_cast<std::size_t>(i)].index = i;
        h.particles = particles.data();
    }

    HandlerInstance *operator->() { return instance.get(); }
    HandlerInstance &operator*() { return *instance; }
    Particle &particle(int32_t i) { return particles[static_cast<std::size_t>(i)]; }

    std::unique_ptr<HandlerInstance> instance;
    std::vector<Particle> particles;
};

}  // namespace plof::test
