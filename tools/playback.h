// What the commands that play a scene share (play, and the commands that
// picture, measure or export what play would print): the inputs that make
// the scene (--object with --settings and --motion, or one SCENE.lws), the
// frame range, frame rate, interface version and module; the module loaded
// and its instances created and loaded as the host does; a --panel-script
// performed on the options panel of the first item with the effect; and the
// frame loop, with progress on a terminal for long runs.
//
// Everything shown to a person is computed from what the host observes: the
// world positions the effect player places after each frame.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "command.h"
#include "emitter_scene.h"
#include "host/base/frame_rate.h"
#include "host/module/loaded_handler.h"
#include "host/module/module_loader.h"
#include "host/play/frame_loop.h"
#include "host/play/scene_services.h"
#include "host/play/summary.h"
#include "host/scene/host_scene.h"
#include "host/settings/settings_reading.h"
#include "options_panel_session.h"

namespace plof::tools {

struct PanelSession;

// The flags of every playing command, in the order --help lists them.
inline constexpr FlagSpec kPlaybackFlags[] = {
    {"--object", "PATH", "object file or built-in shape for one emitter named \"Emitter\""},
    {"--settings", "FILE.plf", "the effect's settings (with --object); see docs/settings.md"},
    kShufflePointsFlag,
    {"--frames", "A..B", "frames to play, inclusive (default: the scene's FirstFrame..LastFrame, else 0..59)"},
    {"--motion", "KEYS", "the emitter's keys \"f:x,y,z:h,p,b;...\", linear between keys (with --object)"},
    {"--fps", "N",
     "frames per second, 0.001 to 1000: frame f plays at time f / N (default: the scene's FramesPerSecond, else 30)"},
    {"--interface", "1|2", "handler interface version to activate (default 2)"},
    kModuleFlag,
    {"--panel-script", "FILE",
     "first perform this panel script on the options panel of the first item with the effect"},
    kObjectsDirFlag,
    kScenesDirFlag,
};

// The playing flags followed by a command's own.
std::vector<FlagSpec> withPlaybackFlags(std::initializer_list<FlagSpec> own);

// The synopsis lines of a playing command, for Command::usage: `ownFlags` is
// the usageLine pattern of the command's own flags in `flags`.
std::string playbackUsage(const std::string &command, std::span<const FlagSpec> flags, const std::string &ownFlags);

// What a Playback is made of: the scene and how to play it.
struct PlaybackInputs {
    host::HostScene scene;
    FrameRange frames;
    double fps = host::kDefaultFrameRate;
    int interfaceVersion = 2;
    std::string modulePath;
    std::string objectsDirectory;  // "" for the current directory
    std::optional<std::string> scenesDirectory;
    std::optional<PanelSession> panelSession;  // a --panel-script to perform first
    bool panelsLater = false;                  // panels will be opened on the instances later
};

// Reads the inputs from the command line. Throws UsageError for a wrong
// command line, InputError for bad input; warnings go to stderr. `command`
// names the command in messages.
PlaybackInputs readPlaybackInputs(const std::string &command, const ParsedArguments &arguments);

class Playback {
public:
    // Reads the inputs, then loads as below.
    Playback(const std::string &command, const ParsedArguments &arguments);
    // Loads the module, creates and loads every instance and performs the
    // panel script. Throws InputError for a script that does not fit,
    // ModuleError when the module cannot be loaded or run.
    explicit Playback(PlaybackInputs inputs);
    ~Playback();
    Playback(const Playback &) = delete;
    Playback &operator=(const Playback &) = delete;

    const host::HostScene &scene() const { return scene_; }
    FrameRange frames() const { return frames_; }
    int64_t frameCount() const { return int64_t{frames_.last} - frames_.first + 1; }
    double fps() const { return fps_; }

    // Plays the range in order. After each frame `visit` is called with the
    // frame number; the world positions are then in worldPoints. The first
    // play also observes each item with the effect (EffectSummaryCollector)
    // and, at its end, says the warnings on stderr (warnAboutEffect). Progress
    // on a terminal names `pass` when given ("pass 1 of 2, framing").
    void play(const std::function<void(int32_t frame)> &visit, const std::string &pass = "");

    // What the first play observed of each item with the effect, in scene order.
    const std::vector<host::EffectSummary> &summaries() const { return summaries_; }

    // x, y, z per point of item `index` at the frame last played; one triple,
    // the pivot, for an item without points.
    std::span<const double> worldPoints(std::size_t index) const { return player_->worldPoints(index); }

    // The settings the effect of item `index` holds once loaded (and edited
    // by the panel script), read from the lines it saves; a new instance's
    // for an item without the effect.
    const host::EffectSettings &effectSettings(std::size_t index) const { return settings_[index]; }

    // The loaded module, and the instance of item `index` (null for an item
    // without the effect), for the host's other uses of them (panels).
    const host::LoadedModule &module() const { return *module_; }
    PlofInstance instance(std::size_t index) const { return player_->instance(index); }
    // Opens the options panel on the instance of item `index` as the host
    // does when a person opens the effect's options (the scene shown at the
    // first frame, the item current), the session's script in place of the
    // person. Returns whether the panel was confirmed; throws as
    // runOptionsPanel does. Needs panelsLater or a panel session.
    bool openOptionsPanel(std::size_t index, const PanelSession &session);

    // Stores each instance's saved lines in its item and writes the host
    // scene to `path`. Throws OutputError.
    void saveScene(const std::string &path);

private:
    // The parts of construction, in order: the module, the services and
    // every instance; the panel script on the first item with the effect;
    // the settings each instance holds.
    void loadModule(const PlaybackInputs &inputs, bool scripted);
    void performPanelScript(const PanelSession &session);
    void readItemSettings(bool scripted);

    FrameRange frames_;
    double fps_ = host::kDefaultFrameRate;
    host::HostScene scene_;
    std::unique_ptr<host::LoadedModule> module_;
    std::unique_ptr<host::HostServices> services_;
    std::unique_ptr<host::EffectHandler> handler_;
    std::unique_ptr<host::EffectPlayer> player_;
    std::vector<host::EffectSettings> settings_;
    bool observed_ = false;
    std::vector<host::EffectSummary> summaries_;
};

// The warnings of one item's summary on stderr, each as
// "plof-host: warning: NAME (item N): WARNING".
void warnAboutEffect(const host::EffectSummary &summary);

}  // namespace plof::tools
