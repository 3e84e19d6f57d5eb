#include "host/studio/studio_session.h"

#include "host/base/work_memory.h"
#include "host/objects/object_file.h"
#include "host/run/points_csv.h"
#include "host/settings/plf_file.h"
#include "host/studio/save_name.h"
#include "host/studio/save_request.h"
#include "host/studio/saved_scene.h"
#include "host/studio/scene_requests.h"
#include "host/studio/session_text.h"
#include "host/studio/settings_request.h"
#include "host/studio/studio_frames.h"
#include "host/studio/studio_saves.h"
#include "host/studio/studio_state.h"

namespace plof::host::studio {

namespace {

// What a play kept by the studio takes: per point what an export's play
// takes, per point and frame its position (three doubles), its look, and
// the largest answer made from them (a CSV row, up to about 90 bytes).
constexpr WorkCost kStudioWork{512.0, 128.0};

// Every effect of `document` (the items of `scene` that carry it) loading
// `settings` from now on, as a scene's block loads them.
void putSettings(StudioDocument &document, const HostScene &scene, const std::vector<EffectSettings> &settings) {
    for (std::size_t i = 0; i < document.items.size(); ++i) {
        if (scene.items[i].hasEffect) document.items[i].effectLines = settingsFileLines(settings[i]);
    }
}

// Refuses, before anything is played, a scene whose play would not fit.
void checkWork(const PlaybackInputs &scene) {
    uint64_t points = 0;
    for (const HostItem &item : scene.scene.items) points += static_cast<uint64_t>(std::max(1, item.pointCount()));
    const int64_t frames = int64_t{scene.frames.last} - scene.frames.first + 1;
    const std::string shortfall = memoryShortfall(points, frames, kStudioWork, "play and show");
    if (!shortfall.empty()) throw BadRequest(shortfall + ": choose a smaller object or fewer frames");
}

}  // namespace

StudioSession::StudioSession(PlaybackInputs scene, const ConfinedFolder &saveFolder)
    : saveFolder_(saveFolder), play_(playStudioScene(scene, true)),
      objects_(saveFolder_.path(), scene.objectsDirectory) {
    StudioDocument start = documentOf(scene);
    // A panel script is performed once: from now on the effects load what it left.
    if (scene.firstPanelRun) putSettings(start, scene.scene, play_->settings);
    scene.firstPanelRun.reset();
    state_.start = std::move(scene);
    state_.history = StudioHistory(start);
    state_.saved = start;
    shown_ = documentScene(state_.start, start, objects_);
}

StudioSession::StudioSession(PlaybackInputs scene, const ConfinedFolder &saveFolder, const std::string &text)
    : saveFolder_(saveFolder), objects_(saveFolder_.path(), scene.objectsDirectory) {
    SessionDocuments documents = readSessionText(text, scene.scene.items.size());
    scene.firstPanelRun.reset();
    state_.start = std::move(scene);
    state_.history = std::move(documents.history);
    state_.saved = std::move(documents.saved);
    state_.revision = documents.revision;
    shown_ = documentScene(state_.start, state_.history.current(), objects_);
}

std::string StudioSession::text() const { return sessionText({state_.history, state_.saved, state_.revision}); }

const StudioPlay &StudioSession::play() {
    if (!play_) play_ = playStudioScene(shown_, false);
    return *play_;
}

std::vector<EffectSettings> StudioSession::shownSettings() const {
    // Without a play, read as the host reads what each effect loads: the
    // document's block (a first panel script's result is in the document).
    if (play_) return play_->settings;
    std::vector<EffectSettings> settings(shown_.scene.items.size());
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const HostItem &item = shown_.scene.items[i];
        if (item.hasEffect) settings[i] = readEffectSettings(item.effectLines, item.effectLineNumber);
    }
    return settings;
}

nlohmann::ordered_json StudioSession::state() {
    const StudioPlay &play = this->play();
    StudioStateView view;
    view.scene = &shown_.scene;
    view.frames = shown_.frames;
    view.fps = shown_.fps;
    view.positions = &play.itemPositions;
    view.settings = &play.settings;
    view.summaries = &play.summaries;
    view.warnings = &play.warnings;
    view.revision = state_.revision;
    view.undoable = state_.history.undoable();
    view.redoable = state_.history.redoable();
    view.unsaved = !(state_.history.current() == state_.saved);
    return stateJson(view);
}

void StudioSession::show(const StudioDocument &document) {
    PlaybackInputs scene = documentScene(state_.start, document, objects_);
    checkWork(scene);
    play_ = playStudioScene(scene, false);
    shown_ = std::move(scene);
    ++state_.revision;
}

nlohmann::ordered_json StudioSession::change(StudioDocument next) {
    if (next == state_.history.current()) return state();
    show(next);
    state_.history.push(std::move(next));
    return state();
}

std::size_t StudioSession::sceneItem(std::size_t item) const {
    if (item < 1 || item > shown_.scene.items.size()) {
        throw BadRequest("item " + std::to_string(item) + " is no item of the scene (1 to " +
                         std::to_string(shown_.scene.items.size()) + ")");
    }
    return item - 1;
}

std::size_t StudioSession::effectItem(std::size_t item) const {
    const std::vector<HostItem> &items = shown_.scene.items;
    if (item < 1 || item > items.size() || !items[item - 1].hasEffect) {
        throw BadRequest("item " + std::to_string(item) + " is no item of the scene that carries the effect");
    }
    return item - 1;
}

nlohmann::ordered_json StudioSession::changeSettings(std::size_t item, const nlohmann::json &request) {
    const std::size_t index = effectItem(item);
    std::vector<std::string> names;
    for (const HostItem &sceneItem : shown_.scene.items) names.push_back(sceneItem.name);
    std::vector<EffectSettings> settings = shownSettings();
    SettingsRefusal refusal;
    if (!applySettingsRequest(request, names, settings[index], refusal)) {
        throw BadRequest(refusal.message, refusal.field);
    }
    StudioDocument next = state_.history.current();
    putSettings(next, shown_.scene, settings);
    return change(std::move(next));
}

nlohmann::ordered_json StudioSession::changeObject(std::size_t item, const nlohmann::json &request) {
    const std::size_t index = sceneItem(item);
    if (shown_.scene.items[index].isNull) {
        throw BadRequest("item " + std::to_string(item) + " is a null: it has no object to change");
    }
    const std::string name = objectRequest(request);
    StudioDocument next = state_.history.current();
    StudioItemEdit &edit = next.items[index];
    // An item named after its object is named after the new one, as the
    // host names an item it loads; an item named otherwise keeps its name.
    const bool namedAfterObject = edit.name == objectItemName(edit.object);
    objects_.choose(name, edit);
    if (namedAfterObject) edit.name = objectItemName(edit.object);
    return change(std::move(next));
}

nlohmann::ordered_json StudioSession::changeMotion(std::size_t item, const nlohmann::json &request) {
    const std::size_t index = sceneItem(item);
    StudioDocument next = state_.history.current();
    next.items[index].motion = motionRequest(request);
    return change(std::move(next));
}

nlohmann::ordered_json StudioSession::loadSettingsFile(std::size_t item, const nlohmann::json &request) {
    const std::size_t index = effectItem(item);
    if (!request.is_object() || !request.contains("file") || !request["file"].is_string()) {
        throw BadRequest("loading settings needs {\"file\": \"NAME.plf\"}, a file in the studio's folder", "file");
    }
    std::string problem;
    const auto name = saveFileName(request["file"].get<std::string>(), ".plf", problem);
    if (!name) throw BadRequest(problem, "file");
    StudioDocument next = state_.history.current();
    try {
        next.items[index].effectLines = readSettingsFile(saveFolder_.path() + "/" + *name).lines;
    } catch (const InputError &unreadable) {
        throw BadRequest(unreadable.what(), "file");
    }
    return change(std::move(next));
}

nlohmann::ordered_json StudioSession::changeRange(const nlohmann::json &request) {
    StudioDocument next = state_.history.current();
    rangeRequest(request, next.frames, next.fps);
    return change(std::move(next));
}

nlohmann::ordered_json StudioSession::undo() {
    if (state_.history.undoable() == 0) throw BadRequest("nothing to undo");
    show(state_.history.previous());
    state_.history.undo();
    return state();
}

nlohmann::ordered_json StudioSession::redo() {
    if (state_.history.redoable() == 0) throw BadRequest("nothing to redo");
    show(state_.history.next());
    state_.history.redo();
    return state();
}

nlohmann::ordered_json StudioSession::revert() { return change(state_.history.start()); }

nlohmann::ordered_json StudioSession::objects() { return objects_.list(); }

std::string StudioSession::frames(int32_t first, int32_t last) {
    return framePositions(play(), shown_.frames, first, last);
}

std::string StudioSession::looks(int32_t first, int32_t last) { return frameLooks(play(), shown_.frames, first, last); }

std::string StudioSession::poses(int32_t first, int32_t last) { return framePoses(shown_, first, last); }

std::string StudioSession::playCsv() {
    const StudioPlay &play = this->play();
    std::string text;
    PointsCsv csv([&text](std::string_view bytes) { text += bytes; }, shown_.scene);
    std::size_t at = 0;
    for (int64_t frame = shown_.frames.first; frame <= shown_.frames.last; ++frame) {
        for (std::size_t i = 0; i < play.itemPositions.size(); ++i) {
            const std::size_t count = play.itemPositions[i] * 3;
            csv.writeItem(static_cast<int32_t>(frame), i, std::span<const double>(play.positions.data() + at, count));
            at += count;
        }
    }
    csv.flush();
    return text;
}

std::string StudioSession::panelPicture(std::size_t item) {
    const QuietWarnings quiet;
    return studio::panelPicture(shown_, effectItem(item));
}

std::size_t StudioSession::savedItem(const SaveRequest &request) const {
    if (request.item) return effectItem(*request.item);
    const std::vector<HostItem> &items = shown_.scene.items;
    std::size_t item = 0;
    while (item < items.size() && !items[item].hasEffect) ++item;
    return effectItem(item + 1);
}

nlohmann::ordered_json StudioSession::save(const nlohmann::json &body) {
    const SaveRequest request = readSaveRequest(body);
    const SaveTarget target{saveFolder_, request.fileName, request.placement};
    // Only the first play says its warnings on the terminal; a save's are in its answer.
    const QuietWarnings quiet;
    switch (request.kind) {
        case SaveKind::settings:
            saveSettingsFile(shown_, savedItem(request), target);
            state_.saved = state_.history.current();
            break;
        case SaveKind::bake: saveBake(shown_, savedItem(request), request.bake, target); break;
        case SaveKind::scene: {
            PlaybackInputs scene = shown_;
            scene.scene = sceneForFolder(std::move(scene.scene), saveFolder_.path());
            saveHostScene(scene, target);
            state_.saved = state_.history.current();
            break;
        }
        case SaveKind::gltf: saveGltf(shown_, target); break;
    }
    return {{"written", saveFolder_.path() + "/" + request.fileName}, {"warnings", quiet.messages()}};
}

}  // namespace plof::host::studio
