#include "host/studio/studio_saves.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "host/base/host_error.h"
#include "host/base/random_token.h"
#include "host/files/file_bytes.h"
#include "host/files/output_file.h"
#include "host/gltf/gltf_file.h"
#include "host/run/export_recorder.h"
#include "host/run/playback.h"

namespace plof::host::studio {

namespace {

// A script of `actions` for the options panel, numbered so that an error
// names the step.
PanelScript panelScript(std::vector<ScriptAction> actions) {
    PanelScript script;
    script.fileName = "studio";
    for (std::size_t i = 0; i < actions.size(); ++i) actions[i].line = static_cast<int>(i) + 1;
    script.actions = std::move(actions);
    return script;
}

ScriptAction action(ScriptVerb verb, const std::string &control = "") {
    ScriptAction step;
    step.verb = verb;
    step.control.label = control;
    return step;
}

void openOptionsPanel(const PlaybackInputs &scene, std::size_t index, PanelRun run) {
    Playback playback(scene);
    playback.openOptionsPanel(index, run);
}

// The module writes `target` into the folder's work folder, through the
// path `write` is given; then it is moved into place. The module's and the
// host's messages name the file where the user will look for it.
template <typename Write>
void moduleWrites(const SaveTarget &target, Write write) {
    target.folder.checkTarget(target.name, target.placement);
    const std::string work = target.folder.workPath(target.name);
    target.folder.removeWorkFile(target.name);  // left by a save that failed
    const auto inFolder = [&](std::string message) {
        const std::string shown = target.folder.path() + "/" + target.name;
        for (std::size_t at = message.find(work); at != std::string::npos; at = message.find(work, at + shown.size())) {
            message.replace(at, work.size(), shown);
        }
        return message;
    };
    try {
        write(work);
    } catch (const RequestError &refused) {
        target.folder.removeWorkFile(target.name);
        throw RequestError(inFolder(refused.what()));
    } catch (const std::exception &failure) {
        target.folder.removeWorkFile(target.name);
        throw std::runtime_error(inFolder(failure.what()));
    }
    target.folder.place(target.name, target.name, target.placement);
}

}  // namespace

void saveSettingsFile(const PlaybackInputs &scene, std::size_t index, const SaveTarget &target) {
    moduleWrites(target, [&](const std::string &path) {
        ScriptAction choose = action(ScriptVerb::Choose);
        choose.path = path;
        PanelRun run;
        run.script = panelScript({action(ScriptVerb::Press, "S"), choose, action(ScriptVerb::Cancel)});
        openOptionsPanel(scene, index, run);
    });
}

void saveBake(const PlaybackInputs &scene, std::size_t index, BakeRequest bake, const SaveTarget &target) {
    moduleWrites(target, [&](const std::string &path) {
        bake.out = path;
        PanelRun run;
        run.script = bakeScript(bake);
        openOptionsPanel(scene, index, run);
    });
}

void saveHostScene(const PlaybackInputs &scene, const SaveTarget &target) {
    OutputFile file(target.folder, target.name, target.placement);
    Playback playback(scene);
    playback.play([](int32_t) {});
    playback.saveScene(file);
}

void saveGltf(const PlaybackInputs &scene, const SaveTarget &target) {
    OutputFile file(target.folder, target.name, target.placement);
    Playback playback(scene);
    const AnimatedScene animated = recordExport(playback, std::nullopt);
    writeGltf(animated, GltfContainer::binary, file);
    file.commit();
}

std::string panelPicture(const PlaybackInputs &scene, std::size_t index) {
    const std::filesystem::path picture =
        std::filesystem::temp_directory_path() / ("plof-studio-" + newToken() + ".png");
    // The picture is taken when the panel closes, read, and removed whatever happens.
    struct RemovedAfter {
        const std::filesystem::path &path;
        ~RemovedAfter() {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
    } removed{picture};
    PanelRun run;
    run.script = panelScript({action(ScriptVerb::Cancel)});
    run.snapshotPath = picture.string();
    openOptionsPanel(scene, index, run);
    return readFileBytes(picture.string(), "panel picture");
}

}  // namespace plof::host::studio
