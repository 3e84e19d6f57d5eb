// plof-host bake: bakes one emitter's particles into a scene file through the
// module's own panels: the options panel's "    CreateScene   " button, the
// baking panel filled from the flags, object files added through its file
// dialog, the baking panel confirmed.
#include "bake_command.h"

#include <cstdio>
#include <filesystem>

#include "arguments.h"
#include "bake_flags.h"
#include "command.h"
#include "emitter_flags.h"
#include "help_text.h"
#include "host/base/host_error.h"
#include "host/play/resting_places.h"
#include "host/play/summary.h"
#include "host/run/options_panel_run.h"
#include "host/run/playback.h"
#include "host/script/bake_request.h"
#include "playback_flags.h"

namespace plof::tools {

namespace {

using namespace plof::host;

const FlagSpec kBakeFlags[] = {
    kEmitterObjectFlag,
    {"--settings", "FILE.plf", "the effect's settings (default: the effect's own, a new instance's)"},
    kShufflePointsFlag,
    {"--out", "FILE.lws", "the scene file to write (required)"},
    {"--frames", "N|0..B", "bake frames 0 .. N-1, or 0 to B (default 60)"},
    {"--step", "N", "sample every N-th frame (default 1)"},
    {"--objects", "A.lwo,B.lwo", "object files the particles use in turn (default: \"none\")"},
    {"--hpb-min", "H,P,B", "lowest spin, degrees per second (default 0,0,0)"},
    {"--hpb-max", "H,P,B",
     "highest spin, degrees per second; spins are drawn from the lowest in steps of 0.01, "
     "below the highest, or are the lowest when equal (default 0,0,0)"},
    {"--align-h", nullptr, "turn each particle's heading along its launch direction"},
    {"--scale", nullptr, "grow each particle from 0 at birth to 1 at the end of its flight"},
    {"--dissolve", nullptr, "dissolve each particle while it is not in flight"},
    kEmitterMotionFlag,
    {"--fps", "N", "not taken: a bake always samples at 30 frames per second"},
    kModuleFlag,
    kObjectsDirFlag,
    kScenesDirFlag,
};

BakeRequest readRequest(const ParsedArguments &arguments) {
    if (!arguments.has("--object") || !arguments.positional.empty()) {
        throw UsageError("bake needs --object PATH [--settings FILE.plf] --out FILE.lws (and no other arguments)");
    }
    BakeRequest request;
    std::string problem;
    for (const BakeValueFlag &flag : kBakeValueFlags) {
        const auto text = arguments.value(flag.flag);
        if (text && !readBakeValue(flag.value, flag.flag, *text, request, problem)) throw UsageError(problem);
    }
    if (!checkBakeRequest(request, "--out", problem)) throw UsageError(problem);
    request.alignH = arguments.has("--align-h");
    request.scale = arguments.has("--scale");
    request.dissolve = arguments.has("--dissolve");
    return request;
}

// The object files are only named in the scene, but a name that is not a
// file would bake a scene that loads nothing.
void checkObjectFiles(const BakeRequest &request) {
    for (const std::string &path : request.objects) {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) throw InputError(path + ": a directory, not an object file");
        if (!std::filesystem::exists(path, error)) throw InputError(path + ": no such object file (--objects)");
    }
}

// A bake samples at the effect's own fixed frame rate.
constexpr double kBakeFrameRate = kScheduleFps;

// What the settings alone say of the baked frames (nothing is played here to
// see flights), as every command that plays the effect says it.
void warnAboutBake(const HostScene &scene, const BakeRequest &request) {
    const HostItem &emitter = scene.items.front();
    EffectSummaryCollector observer(scene, 0, readEffectSettings(emitter.effectLines, emitter.effectLineNumber),
                                    kBakeFrameRate);
    warnAboutEffect(observer.finish(0, request.frames - 1));
}

int runBake(const ParsedArguments &arguments) {
    const BakeRequest request = readRequest(arguments);
    if (arguments.has("--fps")) {
        throw UsageError(
            "--fps: a bake always samples at 30 frames per second (frame f at time f / 30); "
            "leave --fps out");
    }
    checkObjectFiles(request);
    PanelRun run;
    run.script = bakeScript(request);
    Playback emitter(readEmitterInputs(arguments, kBakeFrameRate, true));
    // The host shows the scene at its current frame before anyone can open the
    // effect's options, so every point has been evaluated once: a bake that
    // emits from the points (OrgEmit) adds those evaluated positions.
    emitter.openOptionsPanel(0, run);
    warnAboutBake(emitter.scene(), request);
    std::fprintf(stderr, "plof-host: baked scene written to %s\n", request.out.c_str());
    return kExitOk;
}

const char *const kBakeDetails =
    "Goes through the module's own panels, as a person would: a new instance of\n"
    "the emitter is loaded from --settings (if given) and frame 0 shown (every point\n"
    "evaluated once, as the host does before its options can be opened); the\n"
    "options panel is opened, \"    CreateScene   \" pressed, the baking panel's\n"
    "fields set from the flags (scene name, frames, frame step, HPB min and max,\n"
    "Align H, Scale ctl, Dslv ctl), each --objects file added with \"ObjectFile \"\n"
    "and its file dialog, the baking panel confirmed and the options panel\n"
    "closed without changes.\n"
    "Frames 0, step, 2 x step, ... below N are sampled at time frame / 30.\n"
    "Each --objects file must exist; the scene names it by its full path, as the\n"
    "host's file dialog returns it.\n"
    "Afterwards the warnings of summary that the settings alone give for the\n"
    "baked frames (flights cut short by the recycle period, nothing launched, a\n"
    "birth rate above points x 30, every point on one line) go to stderr.\n"
    "Play the result with: plof-host play FILE.lws\n";

const std::string kBakeUsage = usageLine(kBakeFlags, "bake --object [--settings] --out [--frames] [--step] [OPTIONS]");

}  // namespace

const Command kBakeCommand{
    "bake",
    "bake one emitter's particles into a scene of key-framed objects, through the panels",
    kBakeUsage.c_str(),
    kBakeDetails,
    kBakeFlags,
    &runBake,
};

}  // namespace plof::tools
