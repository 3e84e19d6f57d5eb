#include "host/script/scripted_user.h"

namespace plof::host {

void provideScriptedServices() {
    providePanelServices();
    provideScriptedFileRequest();
}

ScriptedUser::ScriptedUser(ScriptRunner &runner, PanelDriver &panels, ChosenFileObserver observer,
                           WrittenFileCheck *check) {
    setWrittenFileCheck(check);
    setChosenFileObserver(observer);
    setFileDialogAnswerer(&runner);
    setPanelDriver(&panels);
}

ScriptedUser::~ScriptedUser() {
    setPanelDriver(nullptr);
    setFileDialogAnswerer(nullptr);
    setChosenFileObserver(nullptr);
    setWrittenFileCheck(nullptr);
}

}  // namespace plof::host
