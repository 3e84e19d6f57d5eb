#include "host/script/scripted_user.h"

namespace plof::host {

void provideScriptedServices() {
    providePanelServices();
    provideScriptedFileRequest();
}

ScriptedUser::ScriptedUser(ScriptRunner &runner, PanelDriver &panels, ChosenFileObserver *observer,
                           WrittenFileCheck *check)
    : scope_({.writtenFiles = check,
              .chosenFiles = observer,
              .messages = &runner,
              .fileDialogs = &runner,
              .panelDriver = &panels}) {}

}  // namespace plof::host
