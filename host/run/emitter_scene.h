// The scene of one emitter, as `plof-host play`, `panel` and `bake` build it
// from --object: one object named "Emitter" carrying the effect, still at
// the origin or moving linearly between its motion keys, whose saved block
// is the lines of a settings file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/base/frame_rate.h"
#include "host/scene/host_scene.h"
#include "host/scene/motion.h"

namespace plof::host {

struct Emitter {
    std::string object;                    // an object file or a built-in shape
    std::optional<uint64_t> pointShuffle;  // hand the points in an order shuffled by this seed
    // None: a new instance's settings, loaded as saved lines when
    // `loadDefaults` (so that every particle is given its launch, as loading
    // any block does), else no lines at all (the options panel's new instance).
    std::optional<std::string> settingsFile;
    bool loadDefaults = false;
    std::vector<MotionKey> motion{MotionKey{}};  // still at the origin unless given
};

// The emitter's scene, its header covering `frames` at `fps`. Says the
// settings file's warnings (warning_log.h). A bad object or settings file
// throws InputError naming it.
HostScene emitterScene(const Emitter &emitter, FrameRange frames, double fps);

}  // namespace plof::host
