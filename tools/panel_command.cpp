// plof-host panel: opens the effect's options panel on a fresh instance of one
// emitter object, performs a panel script on it (and on the panels opened
// from it), and optionally pictures the panel and saves the host scene.
#include "panel_command.h"

#include <cstdio>

#include "arguments.h"
#include "command.h"
#include "emitter_flags.h"
#include "help_text.h"
#include "host/base/frame_rate.h"
#include "host/panels/panel_snapshot.h"
#include "host/run/options_panel_run.h"
#include "host/run/playback.h"
#include "playback_flags.h"
#include "shared_options.h"

namespace plof::tools {

namespace {

using namespace plof::host;

const FlagSpec kPanelFlags[] = {
    kEmitterObjectFlag,
    {"--settings", "FILE.plf", "load the instance from these settings first (default: a new instance's)"},
    kShufflePointsFlag,
    {"--script", "FILE", "the user's actions on the panels (default: none, the panel is cancelled)"},
    {"--snapshot", "FILE.png", "picture of the options panel when it closes, or at a `snapshot` line"},
    {"--save-scene", "FILE", "afterwards, write the host scene with the effect's saved lines to FILE"},
    kEmitterMotionFlag,
    {"--fps", "N", "frames per second of the host scene, 0.001 to 1000 (default 30)"},
    kModuleFlag,
    kObjectsDirFlag,
    kScenesDirFlag,
};

// --snapshot asked of a build without pictures is a wrong command line.
void checkSnapshotAvailable(const std::optional<std::string> &snapshotPath) {
    if (snapshotPath && !snapshotAvailable()) {
        throw UsageError("--snapshot: panel pictures are not available in this build (it has no cairo)");
    }
}

int runPanel(const ParsedArguments &arguments) {
    if (!arguments.has("--object") || !arguments.positional.empty()) {
        throw UsageError("panel needs --object PATH (and no other arguments); see plof-host panel --help");
    }
    const double fps = arguments.has("--fps") ? parseFrameRate("--fps", *arguments.value("--fps")) : kDefaultFrameRate;
    PanelRun run;
    run.snapshotPath = arguments.value("--snapshot");
    checkSnapshotAvailable(run.snapshotPath);
    if (const auto script = arguments.value("--script")) {
        run.script = readPanelScriptFile(*script);
    } else {
        run.script.fileName = "(no script)";
    }
    Playback emitter(readEmitterInputs(arguments, fps, false));
    const bool confirmed = emitter.openOptionsPanel(0, run);
    std::fprintf(stderr, "plof-host: the options panel was %s\n", confirmed ? "confirmed" : "cancelled");
    if (const auto scenePath = arguments.value("--save-scene")) emitter.saveScene(*scenePath);
    return kExitOk;
}

const char *const kPanelDetails =
    "Opens the effect's options panel on a new instance of the emitter (loaded\n"
    "from --settings when given) and performs the script's actions on it instead\n"
    "of waiting for a person. A panel the script leaves open counts as cancelled.\n"
    "\n"
    "Script lines (one action each; # starts a comment):\n"
    "  set CONTROL VALUE        type or pick a value; the control's event fires\n"
    "  expect CONTROL VALUE     check the value the control holds (a button: its text)\n"
    "  press CONTROL            press a button (may open a panel or a file dialog)\n"
    "  drag CONTROL D1 D2 ...   drag a drag button, one event per step (0, d, 0)\n"
    "  choose PATH | cancel     answer the file dialog opened by the line before\n"
    "  snapshot                 picture the innermost open panel now (--snapshot)\n"
    "  confirm | cancel         close the innermost open panel\n"
    "CONTROL is the label in double quotes, exactly as the module wrote it, or with\n"
    "leading and trailing spaces ignored when that matches one control only; or #N,\n"
    "the control's creation number in its panel (for empty or shared labels).\n"
    "VALUE: a whole number (number fields, sliders within their range), a number\n"
    "(float fields), on/off (check boxes), an object name in quotes or none (object\n"
    "list), a path (file fields), h,p,b (vector fields). A panel opened by a press\n"
    "takes the following lines until its own confirm or cancel. Every mistake is\n"
    "reported as FILE:LINE: and cancels the panels still open (exit 3).\n"
    "\n"
    "Pictures: a label takes 7 pixels per character and a 6-pixel gap before its\n"
    "field; the spread preview's colour 4107 is drawn orange, 4099 dark blue.\n"
    "Details: docs/panel-scripts.md.\n";

const std::string kPanelUsage =
    usageLine(kPanelFlags, "panel --object [--settings] [--script] [--snapshot] [--save-scene]");

}  // namespace

const Command kPanelCommand{
    "panel",
    "open the options panel on one emitter and perform a panel script on it",
    kPanelUsage.c_str(),
    kPanelDetails,
    kPanelFlags,
    &runPanel,
};

}  // namespace plof::tools
