// One played scene and everything it takes, owned in one place and made in
// the order the module needs: the module loaded, the host's services over
// the scene, the scripted services (the panel services and the scripted file
// dialog, which the handler keeps when it is activated), the displacement
// handler, and an instance per item with the effect, created and loaded as
// the host does. Then a panel script performed on the options panel of the
// first item with the effect, and the frame loop, with progress on a
// terminal for long runs. Every command and the studio play through it.
//
// Everything shown to a person is computed from what the host observes: the
// world positions the effect player places after each frame.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "host/base/frame_rate.h"
#include "host/files/output_file.h"
#include "host/module/loaded_handler.h"
#include "host/module/module_loader.h"
#include "host/play/frame_loop.h"
#include "host/play/scene_services.h"
#include "host/play/summary.h"
#include "host/run/options_panel_run.h"
#include "host/run/playback_inputs.h"
#include "host/scene/host_scene.h"
#include "host/settings/settings_reading.h"

namespace plof::host {

class Playback {
public:
    // Loads the module, creates and loads every instance and performs the
    // first panel run. Throws InputError for a script that does not fit,
    // RequestError for a panel run asked of a scene without the effect,
    // ModuleError when the module cannot be loaded or run.
    explicit Playback(PlaybackInputs inputs);
    ~Playback();
    Playback(const Playback &) = delete;
    Playback &operator=(const Playback &) = delete;

    const HostScene &scene() const { return scene_; }
    FrameRange frames() const { return frames_; }
    int64_t frameCount() const { return int64_t{frames_.last} - frames_.first + 1; }
    double fps() const { return fps_; }

    // Plays the range in order. After each frame `visit` is called with the
    // frame number; the world positions are then in worldPoints. The first
    // play also observes each item with the effect (EffectSummaryCollector)
    // and, at its end, says its warnings (warnAboutEffect). Progress
    // on a terminal names `pass` when given ("pass 1 of 2, framing").
    void play(const std::function<void(int32_t frame)> &visit, const std::string &pass = "");

    // What the first play observed of each item with the effect, in scene order.
    const std::vector<EffectSummary> &summaries() const { return summaries_; }

    // x, y, z per point of item `index` at the frame last played; one triple,
    // the pivot, for an item without points.
    std::span<const double> worldPoints(std::size_t index) const { return player_->worldPoints(index); }

    // The settings the effect of item `index` holds once loaded (and edited
    // by the first panel run), read from the lines it saves; a new
    // instance's for an item without the effect.
    const EffectSettings &effectSettings(std::size_t index) const { return settings_[index]; }

    // The loaded module, and the instance of item `index` (null for an item
    // without the effect), for the host's other uses of them (panels).
    const LoadedModule &module() const { return *module_; }
    PlofInstance instance(std::size_t index) const { return player_->instance(index); }
    // Opens the options panel on the instance of item `index` as the host
    // does when a person opens the effect's options (the scene shown at the
    // first frame, the item current), the run's script in place of the
    // person. Returns whether the panel was confirmed; throws as
    // runOptionsPanel does.
    bool openOptionsPanel(std::size_t index, const PanelRun &run);

    // Stores each instance's saved lines in its item and writes the host
    // scene to `path`, or into `file` and commits it. Throws OutputError.
    void saveScene(const std::string &path);
    void saveScene(OutputFile &file);

private:
    // The parts of construction, in order: the module, the services and
    // every instance; the first panel run; the settings each instance holds.
    void loadModule(const PlaybackInputs &inputs);
    void performFirstPanelRun(const PanelRun &run);
    void readItemSettings(bool edited);

    FrameRange frames_;
    double fps_ = kDefaultFrameRate;
    HostScene scene_;
    std::unique_ptr<LoadedModule> module_;
    std::unique_ptr<HostServices> services_;
    std::unique_ptr<EffectHandler> handler_;
    std::unique_ptr<EffectPlayer> player_;
    std::vector<EffectSettings> settings_;
    bool observed_ = false;
    std::vector<EffectSummary> summaries_;
};

// Says the warnings of one item's summary (warning_log.h), each as
// "NAME (item N): WARNING".
void warnAboutEffect(const EffectSummary &summary);

}  // namespace plof::host
