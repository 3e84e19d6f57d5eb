// The emitter scene of --object, shared by the commands that build one (play,
// panel, bake): one object named "Emitter" carrying the effect, still at the
// origin or moving linearly between its --motion keys, whose saved block is
// the lines of --settings.
#pragma once

#include <string>
#include <vector>

#include "command.h"
#include "host/scene/host_scene.h"
#include "host/scene/motion.h"

namespace plof::tools {

// --motion: keys "f:x,y,z:h,p,b;..." (the rotation may be left out) joined by
// straight lines; throws UsageError, also for values beyond
// host::kLargestChannelValue.
std::vector<host::MotionKey> parseMotion(const std::string &text);

// --shuffle-points, for every command that takes --object.
inline constexpr FlagSpec kShufflePointsFlag = {
    "--shuffle-points", "SEED",
    "hand the module --object's points in an order shuffled by SEED (a whole number >= 0), the same every run"};

// The scene of --object with --motion (its points shuffled by --shuffle-points), its header covering `frames` at `fps`.
// Without --settings the effect has no saved lines (a new instance's
// settings); that throws UsageError when `settingsRequired`. A bad object or
// settings file throws InputError naming it.
host::HostScene emitterScene(const ParsedArguments &arguments, double fps, bool settingsRequired,
                             const FrameRange &frames = FrameRange{});

}  // namespace plof::tools
