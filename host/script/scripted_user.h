// The scripted user: everything that lets a panel script stand in for the
// person at the keyboard. It is process-wide because the module reaches the
// host's panels and dialogs through plain C records, and it is installed and
// removed here alone, in this order:
//   1. provideScriptedServices(), before the module's handler is activated
//      (the module keeps the records it finds then): the host's panel
//      services and the scripted file dialog in the service registry. They
//      stay for the process; with no ScriptedUser, every panel closes as
//      cancelled and every dialog is cancelled.
//   2. A ScriptedUser for as long as the module may open panels: first the
//      written-file check (panels and dialogs report to it), then the
//      observer of chosen files, the dialogs' answerer and, last, the panel
//      driver, so that nothing reaches a panel before what it reports to is
//      in place. Its destructor removes them in the reverse order.
// At most one ScriptedUser exists at a time.
#pragma once

#include "host/dialogs/scripted_file_request.h"
#include "host/files/written_file_check.h"
#include "host/panels/host_panel_services.h"
#include "host/script/script_runner.h"

namespace plof::host {

void provideScriptedServices();

class ScriptedUser {
public:
    // `runner` answers every file dialog and `panels` drives every panel
    // (the runner itself, or a driver that hands panels on to it); a
    // non-null `observer` is told each file a dialog returns, a non-null
    // `check` notes the files the module is asked to write. All must
    // outlive the ScriptedUser.
    ScriptedUser(ScriptRunner &runner, PanelDriver &panels, ChosenFileObserver observer = nullptr,
                 WrittenFileCheck *check = nullptr);
    explicit ScriptedUser(ScriptRunner &runner) : ScriptedUser(runner, runner) {}
    ~ScriptedUser();
    ScriptedUser(const ScriptedUser &) = delete;
    ScriptedUser &operator=(const ScriptedUser &) = delete;
};

}  // namespace plof::host
