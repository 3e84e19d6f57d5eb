// The scripted user: everything that lets a panel script stand in for the
// person at the keyboard, in two steps:
//   1. provideScriptedServices(), before the module's handler is activated
//      (the module keeps the records it finds then): the host's panel
//      services and the scripted file dialog in the service registry. They
//      stay there; with no ScriptedUser, every panel closes as cancelled and
//      every dialog is cancelled.
//   2. A ScriptedUser for as long as the module may open panels: it fills
//      the scripted user's parts of the installed context
//      (host/base/host_context.h says which, in what order) and puts back
//      what they replaced when it ends.
// At most one ScriptedUser exists at a time.
#pragma once

#include "host/base/host_context.h"
#include "host/dialogs/scripted_file_request.h"
#include "host/files/written_file_check.h"
#include "host/panels/host_panel_services.h"
#include "host/script/script_runner.h"

namespace plof::host {

void provideScriptedServices();

class ScriptedUser {
public:
    // `runner` answers every file dialog and hears every message, `panels`
    // drives every panel (the runner itself, or a driver that hands panels
    // on to it); a non-null `observer` is told each file a dialog returns, a
    // non-null `check` notes the files the module is asked to write. All
    // must outlive the ScriptedUser. Throws std::logic_error without an
    // installed context.
    ScriptedUser(ScriptRunner &runner, PanelDriver &panels, ChosenFileObserver *observer = nullptr,
                 WrittenFileCheck *check = nullptr);
    explicit ScriptedUser(ScriptRunner &runner) : ScriptedUser(runner, runner) {}
    ScriptedUser(const ScriptedUser &) = delete;
    ScriptedUser &operator=(const ScriptedUser &) = delete;

private:
    ContextScope scope_;
};

}  // namespace plof::host
