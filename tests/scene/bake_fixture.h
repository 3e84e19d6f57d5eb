// What the baking suites share: an instance with hand-made launch data, a
// host whose emitter moves and turns with time, and the bake built the slow
// way, through the document operations one key at a time.
#pragma once

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "instance/handler_instance.h"
#include "instance/particle_update.h"
#include "scene/scene_document.h"
#include "scene/scene_objects.h"
#include "scene_edits.h"
#include "support/fake_host_services.h"

namespace plof::testing {

// The fake host's first item: the object that carries the effect.
inline constexpr PlofItemId kEmitter = 1;

// A host whose emitter slides along +x at 2 units per second, rises slowly
// and turns about +Y by half a radian per second. The module state is fresh
// before and after.
class MovingEmitterHost {
public:
    MovingEmitterHost() {
        host_.addItem("Emitter");
        host_.setPosition(kEmitter, [](double time) { return Vec3{2.0 * time, 1.0 + 0.1 * time, -0.5}; });
        host_.setAxes(kEmitter, [](double time) {
            const double angle = 0.5 * time;
            return test::Axes{Vec3{std::cos(angle), 0.0, -std::sin(angle)}, Vec3{0.0, 1.0, 0.0},
                              Vec3{std::sin(angle), 0.0, std::cos(angle)}};
        });
    }

private:
    test::FakeHostServices host_;
};

// An instance of `points` particles whose launch data are set by hand:
// births one per frame from frame 2, lifetimes 3 to 9 frames, assorted
// velocities, rest positions and spins.
struct BakeSubject {
    explicit BakeSubject(int32_t points) : particles(static_cast<std::size_t>(points)) {
        instance = std::make_unique<HandlerInstance>();
        HandlerInstance &in = *instance;
        in.item = kEmitter;
        in.pointCount = points;
        in.particles = points > 0 ? particles.data() : nullptr;
        in.V0Min = 1.0;
        in.V0Max = 4.0;
        in.AgeMin = 3;
        in.AgeMax = 10;
        in.Gravity = 9.8;
        in.Regist = 0.5;
        in.Birth = 30;
        in.ReCycle = 0;
        in.START_F = 2;
        in.frameStep = 1;
        in.hpbMax = {360.0, 180.0, 90.0};
        in.objectList.count = 1;
        std::strcpy(in.objectList.names[0].data(), "none");
        for (int32_t i = 0; i < points; ++i) {
            Particle &p = particles[static_cast<std::size_t>(i)];
            p.index = i;
            p.launchVelocity = {0.3 * (i % 5) - 0.6, 2.0 + 0.25 * i, 1.1 - 0.2 * (i % 7)};
            p.lifetime = 3 + i % 7;
            p.restPosition = {0.1 * i, -0.05 * i, 0.02 * (i % 3)};
            p.spin = {12.5 * (i % 4), -33.25 + i, 0.01 * i};
        }
    }

    void setObjectNames(const std::vector<std::string> &names) {
        instance->objectList.count = static_cast<int32_t>(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::strcpy(instance->objectList.names[i].data(), names[i].c_str());
        }
    }

    std::vector<Particle> particles;
    std::unique_ptr<HandlerInstance> instance;
};

// The bake exactly as defined, step by step through the plain document
// operations: blocks inserted one by one at a freshly found anchor, and
// every key searched for from its object line. Slow on purpose: it is the
// yardstick the fast bake is held to.
inline bool referenceBake(const char *path, const ObjectList &objects, int32_t frameCount, HandlerInstance &instance) {
    ScenePtr document(createDefaultScene());
    if (document == nullptr || objectAnchor(*document) == nullptr) return false;
    const uint8_t savedBakeMode = instance.bakeMode;
    if (addNullObject(*document, *objectAnchor(*document), "PLOF_NULL") == nullptr) return false;
    std::vector<SceneLine *> objectLines;
    int32_t cursor = 0;
    for (int32_t p = 0; p < instance.pointCount; ++p) {
        const char *name = objects.names[static_cast<std::size_t>(cursor)].data();
        cursor = cursor + 1 == objects.count ? 0 : cursor + 1;
        SceneLine *anchor = objectAnchor(*document);
        SceneLine *line = anchor == nullptr ? nullptr : addLoadedObject(*document, *anchor, name);
        if (line == nullptr) return false;
        objectLines.push_back(line);
    }
    instance.bakeMode = 1;
    const int64_t step = instance.frameStep > 0 ? instance.frameStep : 1;
    for (int64_t frame = 0; frame < frameCount; frame += step) {
        const int32_t f = static_cast<int32_t>(frame);
        update(instance, f, f / 30.0);
        for (int32_t p = 0; p < instance.pointCount; ++p) {
            const Particle &particle = instance.particles[p];
            SceneLine &object = *objectLines[static_cast<std::size_t>(p)];
            MotionKey key = kDefaultMotionKey;
            key.x = particle.position[0];
            key.y = particle.position[1];
            key.z = particle.position[2];
            if (instance.OrgEmit != 0) {
                // The point's own place, turned as MovingEmitterHost turns the emitter.
                const Vec3 &r = particle.restPosition;
                const double angle = 0.5 * (f / 30.0);
                key.x = particle.position[0] + (r[0] * std::cos(angle) + r[1] * 0.0 + r[2] * std::sin(angle));
                key.y = particle.position[1] + (r[0] * 0.0 + r[1] * 1.0 + r[2] * 0.0);
                key.z = particle.position[2] + (r[0] * -std::sin(angle) + r[1] * 0.0 + r[2] * std::cos(angle));
            }
            if (instance.scaleCtl == 1) {
                const int32_t lifetime = particle.lifetime < 1 ? 1 : particle.lifetime;
                key.scaleX = key.scaleY = key.scaleZ = particle.flightTime * 30.0 / lifetime;
            }
            key.heading = particle.spin[0] * particle.flightTime;
            key.pitch = particle.spin[1] * particle.flightTime;
            key.bank = particle.spin[2] * particle.flightTime;
            if (instance.alignH == 1) {
                key.heading =
                    std::atan2(-1.0 * particle.launchVelocity[2], particle.launchVelocity[0]) * 180.0 / 3.1415 - 90.0;
            }
            key.frame = f;
            addMotionKey(*document, object, key);
            if (instance.dslvCtl == 1) {
                if (f == 0) {
                    addDissolveKey(*document, object, 1.0, 0);
                } else if (particle.hidden == 1) {
                    addDissolveKey(*document, object, 1.0, f);
                    setDissolveKeyValue(object, 1.0, f - 1);
                } else {
                    addDissolveKey(*document, object, 0.0, f);
                }
            }
            setParentObject(*document, object, 1);
        }
    }
    instance.bakeMode = savedBakeMode;
    return writeScene(*document, path);
}

}  // namespace plof::testing
