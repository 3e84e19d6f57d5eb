#include "host/run/emitter_scene.h"

#include "host/base/warning_log.h"
#include "host/objects/builtin_shapes.h"
#include "host/objects/object_file.h"
#include "host/objects/point_order.h"
#include "host/settings/plf_file.h"

namespace plof::host {

HostScene emitterScene(const Emitter &emitter, FrameRange frames, double fps) {
    std::vector<float> points = loadObjectPoints(emitter.object);
    if (emitter.pointShuffle) shufflePoints(points, *emitter.pointShuffle);
    SettingsLines settings;
    if (emitter.settingsFile) {
        settings = readSettingsFile(*emitter.settingsFile);
    } else if (emitter.loadDefaults) {
        settings.lines = settingsFileLines(EffectSettings{});
    }
    for (const std::string &warning : settings.warnings) warn(warning);
    HostScene scene;
    scene.header = defaultSceneHeader(frames.first, frames.last, fps);
    HostItem item = makeObjectItem("Emitter", emitter.object, std::move(points));
    if (!isBuiltinShape(emitter.object)) item.objectFile = emitter.object;
    item.motion = emitter.motion;
    item.hasEffect = true;
    item.effectLines = std::move(settings.lines);
    scene.items.push_back(std::move(item));
    return scene;
}

}  // namespace plof::host
