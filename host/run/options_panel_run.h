// Opening the module's options panel on an instance, as the host does when
// the user opens the effect's options, with a panel script in place of the
// user. Shared by `plof-host panel`, `play --panel-script`, `bake` and the
// studio.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host/module/module_loader.h"
#include "host/script/panel_script.h"
#include "plof/handler.h"

namespace plof::host {

struct PanelSession {
    PanelScript script;
    std::optional<std::string> snapshotPath;  // picture of the options panel
    int64_t particles = 0;                    // points of the object whose effect is edited
};

// Provides the panel services and the scripted file dialog (the caller must
// have provided both before activating the module's handler, which keeps the
// dialog it finds then), activates the
// module's DisplacementInterface server "PLOF!" with `instance` and runs the
// script on the panels it opens. Returns true when the options panel was
// confirmed. Throws InputError with the script's file and line when the
// script does not fit the panels, ModuleError when the module has no such
// server or its activation fails, and runtime_error when the picture cannot
// be written or when a file the module was asked to write (a confirmed
// bake's scene, a file returned by a save dialog) did not appear or did not
// change, naming each. Says on stderr how many files chosen for a list were
// not added to it. The host's other services must already be provided.
bool runOptionsPanel(const LoadedModule &module, PlofInstance instance, const PanelSession &session);

// Reads a panel script file, throwing InputError naming its file and line.
PanelScript readScriptOrThrow(const std::string &path);

}  // namespace plof::host
