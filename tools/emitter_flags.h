// The flags of the emitter that the commands taking --object build (play and
// the other playing commands, panel, bake): --object, --settings, --motion
// and --shuffle-points read into a host::Emitter (host/run/emitter_scene.h).
#pragma once

#include <string>
#include <vector>

#include "arguments.h"
#include "command.h"
#include "host/run/emitter_scene.h"
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

// The emitter the flags describe. Without --settings the effect starts from
// a new instance's settings, which it says on standard error: loaded as saved
// lines when `loadDefaults` (host::Emitter). Throws UsageError for a bad
// --motion or --shuffle-points.
host::Emitter readEmitter(const ParsedArguments &arguments, bool loadDefaults);

}  // namespace plof::tools
