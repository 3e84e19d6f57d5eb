#include "host/run/options_panel_run.h"

#include "host/base/file_extension.h"
#include "host/base/host_error.h"
#include "host/base/text_lines.h"
#include "host/base/warning_log.h"
#include "host/dialogs/scripted_file_request.h"
#include "host/files/file_bytes.h"
#include "host/files/written_file_check.h"
#include "host/module/service_registry.h"
#include "host/panels/host_panel_services.h"
#include "host/panels/panel_snapshot.h"
#include "host/script/script_runner.h"
#include "host/script/scripted_user.h"
#include "host/settings/settings_reading.h"
#include "host/settings/settings_warnings.h"

#include <cstdio>

namespace plof::host {

namespace {

// The options panel is built for interface version 1.
constexpr int32_t kInterfaceVersion = 1;

// A settings file chosen for the panel's "L" is read by the module as a text
// file; the host reads it the same way and warns, naming the file and line,
// about lines the module will ignore or read otherwise than they look.
// Files the module cannot open are its own to report.
void warnAboutLoadedSettings(const std::string &title, const std::string &chosen) {
    const bool loads = title.starts_with("load");
    if (!loads || !hasModuleExtension(chosen, ".plf")) return;
    std::string text;
    try {
        text = readFileBytes(chosen, "settings file");
    } catch (const InputError &) {
        return;
    }
    std::vector<std::string> lines;
    for (std::string_view line : splitLines(text)) lines.emplace_back(line);
    for (const std::string &warning : settingsWarnings(readSettingsLines(lines, 1, LineForm::File), chosen)) {
        warn(warning);
    }
}

struct LoadedSettingsWarnings final : ChosenFileObserver {
    void fileChosen(const char *title, const char *path) noexcept override {
        // Called from inside the module: a warning that cannot be made is lost.
        try {
            warnAboutLoadedSettings(title, path);
        } catch (...) {
        }
    }
};

// The module writes silently: a file it was asked for and did not write is
// a failure only the host can report.
void reportUnwritten(const WrittenFileCheck &written) {
    const std::vector<std::string> problems = written.unwritten();
    if (problems.empty()) return;
    for (std::size_t i = 0; i + 1 < problems.size(); ++i) std::fprintf(stderr, "plof-host: %s\n", problems[i].c_str());
    throw std::runtime_error(problems.back());
}

// The options panel answers the host only with 0, 1 or 2; whether the
// user confirmed is seen by the host's panel services.
struct ConfirmWatch final : PanelDriver {
    ScriptRunner *runner = nullptr;
    int depth = 0;
    bool confirmed = false;
    int32_t runPanel(PlofPanelRecord &panel) override {
        ++depth;
        const int32_t result = runner->runPanel(panel);
        if (--depth == 0) confirmed = result != 0;
        return result;
    }
};

}  // namespace

PanelScript readPanelScriptFile(const std::string &path) {
    PanelScript script;
    ScriptError error;
    if (!readPanelScript(path, script, error)) throw InputError(error.text());
    return script;
}

bool runOptionsPanel(const LoadedModule &module, PlofInstance instance, const PanelRun &run) {
    const PlofActivateFunc activate =
        findServer(module.descriptor(), PLOF_CLASS_DISPLACEMENT_INTERFACE, PLOF_SERVER_NAME);
    if (!activate) {
        throw ModuleError(module.path() + ": the module has no " PLOF_CLASS_DISPLACEMENT_INTERFACE " server \"" +
                          std::string(PLOF_SERVER_NAME) + "\"");
    }
    ScriptRunner runner(run.script);
    WrittenFileCheck written(run.particles);
    ConfirmWatch watch;
    watch.runner = &runner;
    if (run.snapshotPath) {
        const std::string path = *run.snapshotPath;
        runner.setSnapshotWriter([path](const PlofPanelRecord &panel, std::string &problem) {
            return writePanelSnapshot(panel, path, problem);
        });
    }
    int32_t result = 0;
    {
        LoadedSettingsWarnings loadedSettings;
        const ScriptedUser user(runner, watch, &loadedSettings, &written);
        result = activate(kInterfaceVersion, globalServiceFunction(), instance);
    }
    if (!runner.finish()) {
        const ScriptError &error = *runner.error();
        // A picture that cannot be written is an output failure, not bad input.
        if (run.snapshotPath && error.message.rfind(*run.snapshotPath + ": ", 0) == 0) {
            throw std::runtime_error(error.message);
        }
        throw InputError(error.text());
    }
    if (result != 0) {
        throw ModuleError(module.path() + ": the options panel did not open (activation answered " +
                          std::to_string(result) + "; see the module's message above)");
    }
    if (runner.endedWithPanelOpen()) {
        warn(run.script.fileName +
             ": the script ends with the options panel open, so the host "
             "cancels it and its edits are discarded; end with a line "
             "\"confirm\" to keep them");
    }
    if (runner.filesNotListed() > 0) {
        std::fprintf(stderr, "plof-host: %d of the %d files chosen for the object list were not added to it\n",
                     runner.filesNotListed(), runner.filesForLists());
    }
    reportUnwritten(written);
    return watch.confirmed;
}

}  // namespace plof::host
