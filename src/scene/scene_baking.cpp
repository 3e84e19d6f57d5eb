#include "scene/scene_baking.h"

#include <cstring>

#include "instance/particle_update.h"
#include "scene/baked_objects.h"
#include "scene/scene_document.h"
#include "scene/scene_file_writer.h"
#include "scene/scene_objects.h"
#include "sim/effect_constants.h"

namespace plof {

namespace {

// The simulation is sampled at a fixed 30 frames per second, whatever the
// host scene's rate; the written scene says so too.
constexpr double kSamplingRate = kFramesPerSecond;

void writeLines(SceneFileWriter &writer, const SceneLine *from, const SceneLine *stop) {
    for (const SceneLine *line = from; line != stop; line = line->next) {
        writer.writeText(line->text, std::strlen(line->text));
    }
}

}  // namespace

bool bakeScene(const char *scenePath, const ObjectList &objects, int32_t frameCount, HandlerInstance &instance) {
    ScenePtr document(createDefaultScene());
    if (document == nullptr || objectAnchor(*document) == nullptr) return false;
    BakedObjects bakedObjects;
    if (!bakedObjects.prepare(instance, objects, frameCount)) return false;

    const uint8_t savedBakeMode = instance.bakeMode;
    // The null object is object 1, the parent of every particle object.
    if (addNullObject(*document, *objectAnchor(*document), "PLOF_NULL") == nullptr) return false;
    // The particle objects follow it in particle order, before the light.
    const SceneLine *anchor = objectAnchor(*document);
    if (anchor == nullptr) return false;

    instance.bakeMode = 1;
    for (int32_t sample = 0; sample < bakedObjects.sampleCount(); ++sample) {
        const int32_t frame = bakedObjects.frameOf(sample);
        update(instance, frame, frame / kSamplingRate);
        bakedObjects.record(instance, sample);
    }
    instance.bakeMode = savedBakeMode;

    SceneFileWriter writer(scenePath);
    if (!writer.isOpen()) return false;
    writeLines(writer, document->first, anchor->next);
    bakedObjects.writeBlocks(writer, instance);
    writeLines(writer, anchor->next, nullptr);
    return writer.commit();
}

}  // namespace plof
