#include "playback_flags.h"

#include <algorithm>

#include "emitter_scene.h"
#include "host/base/frame_rate.h"
#include "host/base/host_error.h"
#include "host/base/number_text.h"
#include "host/base/warning_log.h"
#include "host/run/options_panel_run.h"
#include "host/scene/item_objects.h"
#include "host/settings/settings_warnings.h"

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

// The frames a scene asks for in its header, else the default range.
FrameRange sceneFrames(const HostScene &scene, const std::string &fileName) {
    const auto range = headerFrameRange(scene, fileName);
    return range ? FrameRange{range->first, range->last} : FrameRange{};
}

// The frame rate a scene asks for in its header, else 30.
double sceneFrameRate(const HostScene &scene, const std::string &fileName) {
    const auto rate = headerFrameRate(scene, fileName);
    if (!rate) return kDefaultFrameRate;
    if (!(rate->value >= kLowestFrameRate && rate->value <= kHighestFrameRate)) {
        throw InputError(fileName + ":" + std::to_string(rate->line) + ": FramesPerSecond " +
                         shortestText(rate->value) + " is outside 0.001 to 1000; give --fps N");
    }
    return rate->value;
}

// The scene file, with its warnings and those of each effect's settings on stderr.
HostScene readScene(const std::string &path, const std::string &objectsDirectory) {
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

}  // namespace

std::vector<FlagSpec> withPlaybackFlags(std::initializer_list<FlagSpec> own) {
    std::vector<FlagSpec> flags(std::begin(kPlaybackFlags), std::end(kPlaybackFlags));
    flags.insert(flags.end(), own);
    return flags;
}

std::string playbackUsage(const std::string &command, std::span<const FlagSpec> flags, const std::string &ownFlags) {
    return command + " " + usageLine(flags, "--object --settings [--frames] [--motion] " + ownFlags + " [OPTIONS]") +
           "\n" + command + " SCENE.lws " + usageLine(flags, "[--frames] " + ownFlags + " [OPTIONS]");
}

PlaybackInputs readPlaybackInputs(const std::string &command, const ParsedArguments &arguments) {
    PlaybackInputs inputs;
    const bool fromObject = arguments.has("--object");
    if (fromObject == (arguments.positional.size() == 1) || arguments.positional.size() > 1) {
        throw UsageError(command + " needs either --object PATH --settings FILE.plf, or one SCENE.lws");
    }
    if (!fromObject &&
        (arguments.has("--settings") || arguments.has("--motion") || arguments.has(kShufflePointsFlag.name))) {
        throw UsageError("--settings, --motion and --shuffle-points go with --object; a scene holds its own");
    }
    const auto framesText = arguments.value("--frames");
    if (framesText) inputs.frames = parseFrameRange("--frames", *framesText);
    inputs.fps = arguments.has("--fps") ? parseFrameRate("--fps", *arguments.value("--fps")) : kDefaultFrameRate;
    inputs.interfaceVersion = interfaceVersionOf(arguments);
    inputs.objectsDirectory = arguments.value("--objects-dir").value_or("");
    inputs.scenesDirectory = arguments.value("--scenes-dir");

    // A bad script is reported before anything is loaded.
    if (const auto scriptPath = arguments.value("--panel-script")) {
        inputs.panelSession.emplace();
        inputs.panelSession->script = readScriptOrThrow(*scriptPath);
    }

    if (fromObject) {
        inputs.scene = emitterScene(arguments, inputs.fps, true, inputs.frames);
    } else {
        inputs.scene = readScene(arguments.positional.front(), inputs.objectsDirectory);
        if (!framesText) inputs.frames = sceneFrames(inputs.scene, arguments.positional.front());
        if (!arguments.has("--fps")) inputs.fps = sceneFrameRate(inputs.scene, arguments.positional.front());
    }
    inputs.modulePath = modulePath(arguments);
    const auto carriesEffect = [](const HostItem &item) { return item.hasEffect; };
    if (inputs.panelSession && std::none_of(inputs.scene.items.begin(), inputs.scene.items.end(), carriesEffect)) {
        throw UsageError("--panel-script: no item of the scene carries the effect");
    }
    return inputs;
}

}  // namespace plof::tools
