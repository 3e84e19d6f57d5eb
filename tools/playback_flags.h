// The command-line side of the commands that play a scene (play, render,
// summary, export, studio): their shared flags, and reading them into a
// Playback's inputs (host/run/playback_inputs.h): the scene (--object with
// --settings and --motion, or one SCENE.lws), the frame range, frame rate,
// interface version, module and panel script. Panel and bake read their
// emitter's inputs here too.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "arguments.h"
#include "command.h"
#include "emitter_flags.h"
#include "host/run/playback_inputs.h"

namespace plof::tools {

// The flags of every playing command, in the order --help lists them.
inline constexpr FlagSpec kPlaybackFlags[] = {
    {"--object", "PATH", "object file or built-in shape for one emitter named \"Emitter\""},
    {"--settings", "FILE.plf",
     "the effect's settings (with --object; without it, the effect's own defaults); see docs/settings.md"},
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

// Reads the inputs from the command line. Throws UsageError for a wrong
// command line, InputError for bad input; says the warnings of the scene and
// its settings. `command` names the command in messages.
host::PlaybackInputs readPlaybackInputs(const std::string &command, const ParsedArguments &arguments);

// The inputs of the commands that open the panels of one emitter (panel,
// bake): the emitter of --object played at `fps` over the default frames,
// with the module and directories of the flags; without --settings, a new
// instance's settings loaded as saved lines when `loadDefaults`. Throws as
// readEmitter and emitterScene do.
host::PlaybackInputs readEmitterInputs(const ParsedArguments &arguments, double fps, bool loadDefaults);

}  // namespace plof::tools
