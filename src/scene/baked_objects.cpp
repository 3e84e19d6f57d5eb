#include "scene/baked_objects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "instance/item_motion.h"
#include "math/portable_math.h"
#include "scene/bake_size.h"
#include "scene/scene_line_text.h"
#include "scene/scene_templates.h"
#include "sim/effect_constants.h"

namespace plof {

namespace {

// Frames of flight are seconds x kFramesPerSecond. "Align H" converts
// radians to degrees with kEffectPi, as the effect converts every angle;
// renders made from baked scenes depend on that heading.
constexpr double kDegreesPerHalfTurn = 180.0;
constexpr double kHeadingOffset = 90.0;

constexpr ItemAxes kUnturned{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

// `v`, given in the axes' own coordinates, in world space.
Vec3 turn(const ItemAxes &axes, const Vec3 &v) {
    Vec3 world;
    for (int j = 0; j < 3; ++j) world[j] = v[0] * axes.x[j] + v[1] * axes.y[j] + v[2] * axes.z[j];
    return world;
}

void writeLine(SceneFileWriter &writer, const char *text) { writer.writeText(text, std::strlen(text)); }

void writeComposed(SceneFileWriter &writer, const LineBuffer &line, int32_t length) {
    if (length > 0) writer.writeText(line.data(), static_cast<std::size_t>(length));
}

// Whether a key's nine values fit their line. Values below 1e15 always do
// (at most 23 characters each); larger ones are measured.
bool keyValuesFit(const MotionKey &key) {
    const double values[9] = {key.x,    key.y,      key.z,      key.heading, key.pitch,
                              key.bank, key.scaleX, key.scaleY, key.scaleZ};
    bool small = true;
    for (const double value : values) small = small && !(std::fabs(value) >= 1e15);
    if (small) return true;
    LineBuffer line;
    return composeKeyValuesLine(line, key) >= 0;
}

}  // namespace

bool BakedObjects::prepare(const HandlerInstance &instance, const ObjectList &objects, int32_t frameCount) {
    particleCount_ = instance.particles == nullptr || instance.pointCount < 0 ? 0 : instance.pointCount;
    step_ = instance.frameStep > 0 ? instance.frameStep : 1;
    // A bake too large to hold is refused before anything is allocated.
    BakeSize size;
    if (!planBake(particleCount_, frameCount, step_, size)) return false;
    sampleCount_ = size.sampledFrames;

    nameCount_ = std::clamp(objects.count, int32_t{1}, kObjectListMaxCount);
    objectLines_.reset(new (std::nothrow) LineBuffer[static_cast<std::size_t>(nameCount_)]);
    if (objectLines_ == nullptr) return false;
    for (int32_t i = 0; i < nameCount_; ++i) {
        // A name that fills its whole buffer is cut at the buffer's end.
        LineBuffer name = objects.names[static_cast<std::size_t>(i)];
        name.back() = '\0';
        if (composeNamedLine(objectLines_[i], kLoadedObjectRows[0], name.data()) < 0) return false;
    }

    if (size.particleSamples > SIZE_MAX / (sizeof(Sample) + 1)) return false;
    const std::size_t count = static_cast<std::size_t>(size.particleSamples);
    samples_.reset(new (std::nothrow) Sample[count]);
    hidden_.reset(new (std::nothrow) uint8_t[count]);
    return samples_ != nullptr && hidden_ != nullptr;
}

int32_t BakedObjects::frameOf(int32_t sample) const {
    // Below the frame count, so within 32 bits.
    return static_cast<int32_t>(int64_t{sample} * step_);
}

void BakedObjects::record(const HandlerInstance &instance, int32_t sample) {
    const bool fromPoints = instance.OrgEmit != 0;
    // The point's own place is in the emitter's axes; the particle's in world
    // space. An emitter that is not turned adds the place as it is, exactly.
    const ItemAxes axes = fromPoints ? queryAxes(instance.item, instance.time) : kUnturned;
    const bool turned = axes.x != kUnturned.x || axes.y != kUnturned.y || axes.z != kUnturned.z;
    for (int32_t p = 0; p < particleCount_; ++p) {
        const Particle &particle = instance.particles[p];
        const std::size_t at =
            static_cast<std::size_t>(p) * static_cast<std::size_t>(sampleCount_) + static_cast<std::size_t>(sample);
        Sample &out = samples_[at];
        // Emitting from the points, each point keeps its own place and is
        // carried along, as the displacement shows it.
        Vec3 place = particle.restPosition;
        if (turned) place = turn(axes, particle.restPosition);
        out.x = fromPoints ? particle.position[0] + place[0] : particle.position[0];
        out.y = fromPoints ? particle.position[1] + place[1] : particle.position[1];
        out.z = fromPoints ? particle.position[2] + place[2] : particle.position[2];
        out.flightTime = particle.flightTime;
        hidden_[at] = particle.hidden;
    }
}

MotionKey BakedObjects::keyOf(const HandlerInstance &instance, int32_t particle, int32_t sample) const {
    const Particle &source = instance.particles[particle];
    const Sample &at = samples_[static_cast<std::size_t>(particle) * static_cast<std::size_t>(sampleCount_) +
                                static_cast<std::size_t>(sample)];
    MotionKey key = kDefaultMotionKey;
    key.x = at.x;
    key.y = at.y;
    key.z = at.z;
    if (instance.scaleCtl == 1) {
        // 0 at birth, growing to 1 at the end of the flight.
        const int32_t lifetime = source.lifetime < 1 ? 1 : source.lifetime;
        const double scale = at.flightTime * kFramesPerSecond / lifetime;
        key.scaleX = key.scaleY = key.scaleZ = scale;
    }
    key.heading = source.spin[0] * at.flightTime;
    key.pitch = source.spin[1] * at.flightTime;
    key.bank = source.spin[2] * at.flightTime;
    if (instance.alignH == 1) {
        key.heading =
            portableAtan2(-1.0 * source.launchVelocity[2], source.launchVelocity[0]) * kDegreesPerHalfTurn / kEffectPi -
            kHeadingOffset;
    }
    key.frame = frameOf(sample);
    return key;
}

void BakedObjects::writeBlocks(SceneFileWriter &writer, const HandlerInstance &instance) const {
    for (int32_t p = 0; p < particleCount_; ++p) writeBlock(writer, instance, p);
}

void BakedObjects::writeBlock(SceneFileWriter &writer, const HandlerInstance &instance, int32_t particle) const {
    const LineBuffer &objectLine = objectLines_[particle % nameCount_];
    writeLine(writer, objectLine.data());
    writeLine(writer, "ShowObject 8 7\n");
    writeLine(writer, "ObjectMotion (unnamed)\n");
    writeLine(writer, "  9\n");

    // A key that does not fit its line is left out. The frame-0 key replaces
    // the default key; when there is none, the default key stays first.
    int32_t keptKeys = 0;
    bool firstKept = false;
    for (int32_t k = 0; k < sampleCount_; ++k) {
        if (!keyValuesFit(keyOf(instance, particle, k))) continue;
        ++keptKeys;
        firstKept = firstKept || k == 0;
    }
    LineBuffer line;
    writeComposed(writer, line, composeCountLine(line, firstKept ? keptKeys : keptKeys + 1));
    if (!firstKept) {
        writeLine(writer, "  0 0 0 0 0 0 1 1 1\n");
        writeLine(writer, "  0 0 0 0 0\n");
    }
    for (int32_t k = 0; k < sampleCount_; ++k) {
        const MotionKey key = keyOf(instance, particle, k);
        const int32_t length = composeKeyValuesLine(line, key);
        if (length < 0) continue;
        writeComposed(writer, line, length);
        writeComposed(writer, line, composeKeyFrameLine(line, key));
    }
    writeLine(writer, "EndBehavior 1\n");

    if (instance.dslvCtl == 1 && sampleCount_ > 0) {
        writeLine(writer, "ObjDissolve (envelope)\n");
        writeLine(writer, "  1\n");
        writeComposed(writer, line, composeCountLine(line, sampleCount_));
        LineBuffer dissolved;
        LineBuffer shown;
        const int32_t dissolvedLength = composeDissolveValueLine(dissolved, 1.0);
        const int32_t shownLength = composeDissolveValueLine(shown, 0.0);
        const uint8_t *hidden =
            hidden_.get() + static_cast<std::size_t>(particle) * static_cast<std::size_t>(sampleCount_);
        for (int32_t k = 0; k < sampleCount_; ++k) {
            // Dissolved at frame 0 and wherever the particle is hidden; with
            // a step of 1 the frame before a hidden frame is dissolved too.
            const bool isDissolved =
                k == 0 || hidden[k] == 1 || (step_ == 1 && k + 1 < sampleCount_ && hidden[k + 1] == 1);
            if (isDissolved) {
                writeComposed(writer, dissolved, dissolvedLength);
            } else {
                writeComposed(writer, shown, shownLength);
            }
            writeComposed(writer, line, composeDissolveFrameLine(line, frameOf(k)));
        }
        writeLine(writer, "EndBehavior 1\n");
    }
    if (sampleCount_ > 0) writeComposed(writer, line, composeParentLine(line, 1));
    writeLine(writer, "ShadowOptions 7\n");
    writeLine(writer, "\n");
}

}  // namespace plof
