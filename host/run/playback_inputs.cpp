#include "host/run/playback_inputs.h"

#include <vector>

#include "host/base/warning_log.h"
#include "host/scene/item_objects.h"
#include "host/settings/settings_reading.h"
#include "host/settings/settings_warnings.h"

namespace plof::host {

HostScene readSceneSayingWarnings(const std::string &path, const std::string &objectsDirectory) {
    std::vector<std::string> warnings;
    HostScene scene = readSceneFile(path, objectsDirectory, warnings);
    for (const std::string &warning : warnings) warn(warning);
    for (const HostItem &item : scene.items) {
        if (!item.hasEffect) continue;
        const SettingsReading reading = readSettingsLines(item.effectLines, item.effectLineNumber);
        for (const std::string &warning : settingsWarnings(reading, path)) warn(warning);
    }
    return scene;
}

FrameRange sceneFrameRange(const HostScene &scene, const std::string &fileName) {
    const auto range = headerFrameRange(scene, fileName);
    return range ? FrameRange{range->first, range->last} : FrameRange{};
}

}  // namespace plof::host
