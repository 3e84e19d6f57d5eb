// What a Playback (playback.h) is made of: the scene and how to play it,
// and the host's defaults for a scene read from a file.
#pragma once

#include <optional>
#include <string>

#include "host/base/frame_rate.h"
#include "host/run/options_panel_run.h"
#include "host/scene/host_scene.h"

namespace plof::host {

struct PlaybackInputs {
    HostScene scene;
    FrameRange frames;
    double fps = kDefaultFrameRate;
    int interfaceVersion = 2;
    std::string modulePath;
    std::string objectsDirectory;  // "" for the current directory
    std::optional<std::string> scenesDirectory;
    // A panel script performed on the options panel of the first item with
    // the effect, before anything is played.
    std::optional<PanelRun> firstPanelRun;
};

// The scene file at `path` with its items' objects (item_objects.h); says
// its warnings and those of each effect's saved lines (warning_log.h).
// Throws InputError for a scene that cannot be read.
HostScene readSceneSayingWarnings(const std::string &path, const std::string &objectsDirectory);

// The frames the scene's header asks for, else the default range. Throws
// InputError for a header range that runs backwards, naming `fileName`.
FrameRange sceneFrameRange(const HostScene &scene, const std::string &fileName);

}  // namespace plof::host
