#include "playback_flags.h"

#include <algorithm>

#include "help_text.h"
#include "host/base/frame_rate.h"
#include "host/base/host_error.h"
#include "host/base/number_text.h"
#include "host/base/warning_log.h"
#include "host/run/emitter_scene.h"
#include "host/run/options_panel_run.h"
#include "shared_options.h"

namespace plof::tools {

namespace {

using namespace plof::host;

int interfaceVersionOf(const ParsedArguments &arguments) {
    const auto version = arguments.value("--interface");
    if (!version) return 2;
    if (*version != "1" && *version != "2") {
        throw UsageError("--interface needs 1 or 2, got \"" + *version + "\"");
    }
    return *version == "1" ? 1 : 2;
}

// The frame rate a scene asks for in its header, else the default.
double sceneFrameRate(const HostScene &scene, const std::string &fileName) {
    const auto rate = headerFrameRate(scene, fileName);
    if (!rate) return kDefaultFrameRate;
    if (!(rate->value >= kLowestFrameRate && rate->value <= kHighestFrameRate)) {
        throw InputError(fileName + ":" + std::to_string(rate->line) + ": FramesPerSecond " +
                         shortestText(rate->value) + " is outside 0.001 to 1000; give --fps N");
    }
    return rate->value;
}

// The module and the host's directories, as every command that loads the
// module takes them.
void readHostPlaces(const ParsedArguments &arguments, PlaybackInputs &inputs) {
    inputs.modulePath = modulePath(arguments);
    inputs.objectsDirectory = arguments.value("--objects-dir").value_or("");
    inputs.scenesDirectory = arguments.value("--scenes-dir");
}

}  // namespace

std::vector<FlagSpec> withPlaybackFlags(std::initializer_list<FlagSpec> own) {
    std::vector<FlagSpec> flags(std::begin(kPlaybackFlags), std::end(kPlaybackFlags));
    flags.insert(flags.end(), own);
    return flags;
}

std::string playbackUsage(const std::string &command, std::span<const FlagSpec> flags, const std::string &ownFlags) {
    return command + " " + usageLine(flags, "--object [--settings] [--frames] [--motion] " + ownFlags + " [OPTIONS]") +
           "\n" + command + " SCENE.lws " + usageLine(flags, "[--frames] " + ownFlags + " [OPTIONS]");
}

PlaybackInputs readPlaybackInputs(const std::string &command, const ParsedArguments &arguments) {
    PlaybackInputs inputs;
    const bool fromObject = arguments.has("--object");
    if (fromObject == (arguments.positional.size() == 1) || arguments.positional.size() > 1) {
        throw UsageError(
            command +
            " needs either --object PATH (with --settings FILE.plf, or the effect's defaults), or one SCENE.lws");
    }
    if (!fromObject &&
        (arguments.has("--settings") || arguments.has("--motion") || arguments.has(kShufflePointsFlag.name))) {
        throw UsageError("--settings, --motion and --shuffle-points go with --object; a scene holds its own");
    }
    const auto framesText = arguments.value("--frames");
    if (framesText) inputs.frames = parseFrameRange("--frames", *framesText);
    inputs.fps = arguments.has("--fps") ? parseFrameRate("--fps", *arguments.value("--fps")) : kDefaultFrameRate;
    inputs.interfaceVersion = interfaceVersionOf(arguments);
    readHostPlaces(arguments, inputs);

    // A bad script is reported before anything is loaded.
    if (const auto scriptPath = arguments.value("--panel-script")) {
        inputs.firstPanelRun.emplace();
        inputs.firstPanelRun->script = readPanelScriptFile(*scriptPath);
    }

    if (fromObject) {
        inputs.scene = emitterScene(readEmitter(arguments, true), inputs.frames, inputs.fps);
    } else {
        inputs.scene = readSceneSayingWarnings(arguments.positional.front(), inputs.objectsDirectory);
        if (!framesText) inputs.frames = sceneFrameRange(inputs.scene, arguments.positional.front());
        if (!arguments.has("--fps")) inputs.fps = sceneFrameRate(inputs.scene, arguments.positional.front());
    }
    const auto carriesEffect = [](const HostItem &item) { return item.hasEffect; };
    if (inputs.firstPanelRun && std::none_of(inputs.scene.items.begin(), inputs.scene.items.end(), carriesEffect)) {
        throw UsageError("--panel-script: no item of the scene carries the effect");
    }
    return inputs;
}

PlaybackInputs readEmitterInputs(const ParsedArguments &arguments, double fps, bool loadDefaults) {
    PlaybackInputs inputs;
    inputs.fps = fps;
    readHostPlaces(arguments, inputs);
    inputs.scene = emitterScene(readEmitter(arguments, loadDefaults), inputs.frames, fps);
    return inputs;
}

}  // namespace plof::tools
