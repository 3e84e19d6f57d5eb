#include "emitter_flags.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "host/base/number_text.h"
#include "host/scene/motion_text.h"

namespace plof::tools {

using namespace plof::host;

// "f:x,y,z:h,p,b;..." (the rotation part may be left out): keys joined by straight lines.
std::vector<MotionKey> parseMotion(const std::string &text) {
    const std::string form = "--motion needs keys \"" + std::string(kMotionTextForm) + "\"";
    MotionText read = readMotionText(text);
    switch (read.problem) {
        case MotionText::Problem::None: return std::move(read.keys);
        case MotionText::Problem::NoKeys: throw UsageError(form);
        case MotionText::Problem::BadKey: throw UsageError(form + ", got \"" + read.detail + "\"");
        case MotionText::Problem::Overflow: throw UsageError("--motion: " + read.detail);
    }
    throw UsageError(form);
}

Emitter readEmitter(const ParsedArguments &arguments, bool loadDefaults) {
    Emitter emitter;
    emitter.loadDefaults = loadDefaults;
    emitter.settingsFile = arguments.value("--settings");
    if (!emitter.settingsFile) {
        std::fprintf(stderr,
                     "plof-host: no --settings: the effect starts from its own defaults, as a new instance does "
                     "(docs/settings.md)\n");
    }
    emitter.object = *arguments.value("--object");
    if (const auto seedText = arguments.value(kShufflePointsFlag.name)) {
        const auto seed = parseInteger(*seedText);
        if (!seed || *seed < 0) {
            throw UsageError(std::string(kShufflePointsFlag.name) + " needs a whole number >= 0, got \"" + *seedText +
                             "\"");
        }
        emitter.pointShuffle = static_cast<uint64_t>(*seed);
    }
    if (const auto motion = arguments.value("--motion")) emitter.motion = parseMotion(*motion);
    return emitter;
}

}  // namespace plof::tools
