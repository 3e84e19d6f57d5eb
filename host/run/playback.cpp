#include "host/run/playback.h"

#include <algorithm>
#include <cstdio>

#include "host/base/host_error.h"
#include "host/base/standard_error.h"
#include "host/base/warning_log.h"
#include "host/scene/scene_writer.h"
#include "host/script/scripted_user.h"
#include "plof/host_services.h"

namespace plof::host {

namespace {

// Runs longer than this many point-frames show progress (on a terminal only).
constexpr double kProgressWork = 2e6;

std::size_t pointsPerFrame(const HostScene &scene) {
    std::size_t points = 0;
    for (const HostItem &item : scene.items) points += std::max<std::size_t>(1, item.points.size() / 3);
    return points;
}

}  // namespace

Playback::Playback(PlaybackInputs inputs) : frames_(inputs.frames), fps_(inputs.fps), scene_(std::move(inputs.scene)) {
    loadModule(inputs);
    if (inputs.firstPanelRun) performFirstPanelRun(*inputs.firstPanelRun);
    readItemSettings(inputs.firstPanelRun.has_value());
}

void Playback::loadModule(const PlaybackInputs &inputs) {
    module_ = LoadedModule::open(inputs.modulePath);
    services_ = std::make_unique<HostServices>(scene_, fps_);
    if (!inputs.objectsDirectory.empty()) services_->setDirectory(PLOF_DIRECTORY_OBJECTS, inputs.objectsDirectory);
    if (inputs.scenesDirectory) services_->setDirectory(PLOF_DIRECTORY_SCENES, *inputs.scenesDirectory);
    // Before the handler is activated (scripted_user.h says why), so that
    // any item's options panel can be opened later.
    provideScriptedServices();
    handler_ = std::make_unique<EffectHandler>(*module_, inputs.interfaceVersion);
    player_ = std::make_unique<EffectPlayer>(*handler_, scene_, *services_);
}

void Playback::performFirstPanelRun(const PanelRun &run) {
    std::size_t edited = 0;
    while (edited < scene_.items.size() && !player_->instance(edited)) ++edited;
    if (edited == scene_.items.size()) {
        throw RequestError("no item of the scene carries the effect, so it has no options panel for the script");
    }
    openOptionsPanel(edited, run);
}

void Playback::readItemSettings(bool edited) {
    // What the effect holds: its lines, or after a panel script what it
    // saves (the scene's first frame has been shown, so the avoid object has
    // been looked up and is saved by name).
    settings_.resize(scene_.items.size());
    for (std::size_t i = 0; i < scene_.items.size(); ++i) {
        if (!player_->instance(i)) continue;
        settings_[i] = readEffectSettings(edited ? handler_->save(player_->instance(i)) : scene_.items[i].effectLines,
                                          scene_.items[i].effectLineNumber);
    }
}

Playback::~Playback() = default;

bool Playback::openOptionsPanel(std::size_t index, const PanelRun &run) {
    // The host shows the scene at its first frame before the options can be opened.
    player_->runEffects(frames_.first, frames_.first / fps_);
    services_->setCurrentItem(static_cast<PlofItemId>(index + 1));
    PanelRun opened = run;
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
    for (const EffectWarning &warning : summary.warnings) {
        warn(summary.name + " (item " + std::to_string(summary.item + 1) + "): " + warning.message);
    }
}

void Playback::saveScene(const std::string &path) {
    player_->saveInstances();
    writeSceneFile(scene_, path);
}

void Playback::saveScene(OutputFile &file) {
    player_->saveInstances();
    file.write(sceneText(scene_));
    file.commit();
}

}  // namespace plof::host
