// plof-host summary: plays a scene as play does and prints, for each item
// that carries the effect, its numbers and warnings: for a person, or as
// JSON with --json.
#include "summary_command.h"

#include <cstdio>

#include <nlohmann/json.hpp>

#include "arguments.h"
#include "command.h"
#include "host/play/summary.h"
#include "host/play/summary_json.h"
#include "host/play/summary_text.h"
#include "host/run/playback.h"
#include "playback_flags.h"

namespace plof::tools {

namespace {

using namespace plof::host;

const std::vector<FlagSpec> kSummaryFlags = withPlaybackFlags({
    {"--json", nullptr, "print the summary as JSON"},
});

int runSummary(const ParsedArguments &arguments) {
    Playback playback(readPlaybackInputs("summary", arguments));
    playback.play([](int32_t) {});
    const std::vector<EffectSummary> &summaries = playback.summaries();
    std::string out;
    if (arguments.has("--json")) {
        out = summariesJson(summaries).dump(2) + "\n";
    } else {
        out = summariesText(summaries);
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        throw std::runtime_error("standard output: writing the summary failed");
    }
    return kExitOk;
}

const char *const kSummaryDetails =
    "Plays the frames as play does and prints, for each item that carries the\n"
    "effect:\n"
    "  from its settings: the point count, the birth rate, the recycle period in\n"
    "  frames (points x 30 / birth rate, whole frames) and the first and last\n"
    "  frame in the range on which a flight starts;\n"
    "  from the played positions: flights (a point away from its resting place:\n"
    "  the pivot, the avoid object, or with OrgEmit its own place; a point is at\n"
    "  rest on its birth frame, where the effect hides it), their length in\n"
    "  frames, points in flight per frame, the bounding box of every position,\n"
    "  the highest point above the emitter's pivot and the farthest from it.\n"
    "A flight still running at the last frame counts the frames it had.\n"
    "Warnings (one line each) say what will happen and what to change: flights cut\n"
    "short by a recycle period not longer than the ages, nothing launched in the\n"
    "range, a birth rate above points x 30, every point leaving on one line;\n"
    "every command that plays the effect also says them on stderr.\n"
    "With --json: {\"items\": [{\"item\", \"name\", \"frames\", \"points\", \"birthRate\",\n"
    "\"periodFrames\", \"firstLaunchFrame\", \"lastLaunchFrame\", \"flights\",\n"
    "\"flightsPerPoint\", \"flightFrames\", \"pointsInFlightPerFrame\" (each\n"
    "{min, mean, max} or null), \"boundingBox\" ({min, max} or null),\n"
    "\"highestAbovePivot\", \"farthestFromPivot\", \"warnings\"}]}.\n";

const std::string kSummaryUsage = playbackUsage("summary", kSummaryFlags, "[--json]");

}  // namespace

const Command kSummaryCommand{
    "summary",
    "play a scene and print the effect in numbers (periods, flights, extent) with warnings",
    kSummaryUsage.c_str(),
    kSummaryDetails,
    kSummaryFlags,
    &runSummary,
};

}  // namespace plof::tools
