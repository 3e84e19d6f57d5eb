#include "playback.h"

#include <algorithm>
#include <cstdio>

#include "emitter_scene.h"
#include "host/base/frame_rate.h"
#include "host/base/host_error.h"
#include "host/base/number_text.h"
#include "host/base/warning_log.h"
#include "host/scene/item_objects.h"
#include "host/scene/scene_writer.h"
#include "host/script/scripted_user.h"
#include "host/settings/settings_warnings.h"
#include "options_panel_session.h"
#include "plof/host_services.h"
#include "program_location.h"

namespace plof::tools {

namespace {

using namespace plof::host;

// Runs longer than this many point-frames show progress (on a terminal only).
constexpr double kProgressWork = 2e6;

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

std::size_t pointsPerFrame(const HostScene &scene) {
    std::size_t points = 0;
    for (const HostItem &item : scene.items) points += std::max<std::size_t>(1, item.points.size() / 3);
    return points;
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
    return inputs;
}

Playback::Playback(const std::string &command, const ParsedArguments &arguments)
    : Playback(readPlaybackInputs(command, arguments)) {}

Playback::Playback(PlaybackInputs inputs) : frames_(inputs.frames), fps_(inputs.fps), scene_(std::move(inputs.scene)) {
    loadModule(inputs, inputs.panelSession || inputs.panelsLater);
    if (inputs.panelSession) performPanelScript(*inputs.panelSession);
    readItemSettings(inputs.panelSession.has_value());
}

void Playback::loadModule(const PlaybackInputs &inputs, bool scripted) {
    module_ = LoadedModule::open(inputs.modulePath);
    services_ = std::make_unique<HostServices>(scene_, fps_);
    if (!inputs.objectsDirectory.empty()) services_->setDirectory(PLOF_DIRECTORY_OBJECTS, inputs.objectsDirectory);
    if (inputs.scenesDirectory) services_->setDirectory(PLOF_DIRECTORY_SCENES, *inputs.scenesDirectory);
    // Before the handler is activated (scripted_user.h says why).
    if (scripted) provideScriptedServices();
    handler_ = std::make_unique<EffectHandler>(*module_, inputs.interfaceVersion);
    player_ = std::make_unique<EffectPlayer>(*handler_, scene_, *services_);
}

void Playback::performPanelScript(const PanelSession &session) {
    std::size_t edited = 0;
    while (edited < scene_.items.size() && !player_->instance(edited)) ++edited;
    if (edited == scene_.items.size()) {
        throw UsageError("--panel-script: no item of the scene carries the effect");
    }
    openOptionsPanel(edited, session);
}

void Playback::readItemSettings(bool scripted) {
    // What the effect holds: its lines, or after a panel script what it
    // saves (the scene's first frame has been shown, so the avoid object has
    // been looked up and is saved by name).
    settings_.resize(scene_.items.size());
    for (std::size_t i = 0; i < scene_.items.size(); ++i) {
        if (!player_->instance(i)) continue;
        settings_[i] = readEffectSettings(scripted ? handler_->save(player_->instance(i)) : scene_.items[i].effectLines,
                                          scene_.items[i].effectLineNumber);
    }
}

Playback::~Playback() = default;

bool Playback::openOptionsPanel(std::size_t index, const PanelSession &session) {
    // The host shows the scene at its first frame before the options can be opened.
    player_->runEffects(frames_.first, frames_.first / fps_);
    services_->setCurrentItem(static_cast<PlofItemId>(index + 1));
    PanelSession opened = session;
    opened.particles = scene_.items[index].pointCount();
    const bool confirmed = runOptionsPanel(*module_, player_->instance(index), opened);
    services_->setCurrentItem(0);
    return confirmed;
}

void Playback::play(const std::function<void(int32_t frame)> &visit, const std::string &pass) {
    const double work = static_cast<double>(frameCount()) * static_cast<double>(pointsPerFrame(scene_));
    const bool progress = standardErrorIsTerminal() && work > kProgressWork;
    const std::string label = pass.empty() ? "" : pass + ": ";
    std::vector<std::unique_ptr<EffectSummaryCollector>> observers(observed_ ? 0 : scene_.items.size());
    for (std::size_t i = 0; i < observers.size(); ++i) {
        if (!player_->instance(i)) continue;
        observers[i] = std::make_unique<EffectSummaryCollector>(scene_, i, settings_[i], fps_);
    }
    for (int64_t frame = frames_.first; frame <= frames_.last; ++frame) {
        const auto f = static_cast<int32_t>(frame);
        player_->playFrame(f, f / fps_);
        for (std::size_t i = 0; i < observers.size(); ++i) {
            if (observers[i]) observers[i]->addFrame(f, f / fps_, worldPoints(i));
        }
        visit(f);
        if (progress) {
            std::fprintf(stderr, "\rplof-host: %sframe %d of %d..%d", label.c_str(), f, frames_.first, frames_.last);
        }
    }
    if (progress) std::fputs("\n", stderr);
    if (observed_) return;
    observed_ = true;
    for (const auto &observer : observers) {
        if (!observer) continue;
        summaries_.push_back(observer->finish(frames_.first, frames_.last));
        warnAboutEffect(summaries_.back());
    }
}

void warnAboutEffect(const EffectSummary &summary) {
    for (const std::string &warning : summary.warnings) {
        warn(summary.name + " (item " + std::to_string(summary.item + 1) + "): " + warning);
    }
}

void Playback::saveScene(const std::string &path) {
    player_->saveInstances();
    writeSceneFile(scene_, path);
}

}  // namespace plof::tools
