// Opening the module's options panel on an instance, as the host does when
// the user opens the effect's options, with a panel script in place of the
// user. Playback::openOptionsPanel opens it for `plof-host panel`, `play
// --panel-script`, `bake` and the studio.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host/module/module_loader.h"
#include "host/script/panel_script.h"
#include "plof/handler.h"

namespace plof::host {

// One opening of the options panel: what the script does, and what the
// host pictures and checks.
struct PanelRun {
    PanelScript script;
    std::optional<std::string> snapshotPath;  // picture of the options panel
    int64_t particles = 0;                    // points of the object whose effect is edited
};

// Activates the module's DisplacementInterface server "PLOF!" with
// `instance` and runs the script on the panels it opens. The host's
// services, the panel services and the scripted file dialog must be
// provided since before the module's handler was activated (it keeps the
// dialog it finds then; Playback provides them so). Returns true when the
// options panel was confirmed. Throws InputError with the script's file and
// line when the script does not fit the panels, ModuleError when the module
// has no such server or its activation fails, and runtime_error when the
// picture cannot be written or when a file the module was asked to write (a
// confirmed bake's scene, a file returned by a save dialog) did not appear
// or did not change, naming each. Says on stderr how many files chosen for
// a list were not added to it; warns (warning_log.h) about a script that
// leaves the panel open and about settings files chosen for "L".
bool runOptionsPanel(const LoadedModule &module, PlofInstance instance, const PanelRun &run);

// Reads a panel script file, throwing InputError naming its file and line.
PanelScript readPanelScriptFile(const std::string &path);

}  // namespace plof::host
