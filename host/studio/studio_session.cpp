#include "host/studio/studio_session.h"

#include <cstring>

#include "host/base/number_text.h"
#include "host/run/points_csv.h"
#include "host/studio/save_request.h"
#include "host/studio/settings_request.h"
#include "host/studio/studio_saves.h"
#include "host/studio/studio_state.h"

namespace plof::host::studio {

namespace {

void appendFloat32(std::string &bytes, double value) {
    const float single = static_cast<float>(value);
    uint32_t word = 0;
    std::memcpy(&word, &single, sizeof word);
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((word >> shift) & 0xFFu);
}

// `scene` with every effect loading `settings` from now on, as a scene's
// block loads them.
PlaybackInputs withSettings(PlaybackInputs scene, const std::vector<EffectSettings> &settings) {
    for (std::size_t i = 0; i < scene.scene.items.size(); ++i) {
        HostItem &item = scene.scene.items[i];
        if (!item.hasEffect) continue;
        item.effectLines = settingsBlockLines(settings[i]);
        item.effectLineNumber = 1;
    }
    return scene;
}

}  // namespace

StudioSession::StudioSession(PlaybackInputs scene, const ConfinedFolder &saveFolder)
    : scene_(std::move(scene)), saveFolder_(saveFolder), play_(playStudioScene(scene_, true)) {
    // A panel script is performed once: from now on the effects load what it left.
    if (scene_.firstPanelRun) {
        scene_.firstPanelRun.reset();
        scene_ = withSettings(std::move(scene_), play_.settings);
    }
}

nlohmann::ordered_json StudioSession::state() {
    StudioStateView view;
    const std::vector<HostItem> &items = scene_.scene.items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        view.items.push_back(
            {items[i].name, play_.itemPositions[i], items[i].hasEffect ? &play_.settings[i] : nullptr});
    }
    view.firstFrame = scene_.frames.first;
    view.lastFrame = scene_.frames.last;
    view.fps = scene_.fps;
    view.summaries = &play_.summaries;
    view.warnings = &play_.warnings;
    view.revision = revision_;
    return stateJson(view);
}

std::size_t StudioSession::effectItem(std::size_t item) const {
    const std::vector<HostItem> &items = scene_.scene.items;
    if (item < 1 || item > items.size() || !items[item - 1].hasEffect) {
        throw BadRequest("item " + std::to_string(item) + " is no item of the scene that carries the effect");
    }
    return item - 1;
}

nlohmann::ordered_json StudioSession::changeSettings(std::size_t item, const nlohmann::json &request) {
    const std::size_t index = effectItem(item);
    std::vector<std::string> names;
    for (const HostItem &sceneItem : scene_.scene.items) names.push_back(sceneItem.name);
    std::vector<EffectSettings> settings = play_.settings;
    std::string problem;
    if (!applySettingsRequest(request, names, settings[index], problem)) throw BadRequest(problem);
    PlaybackInputs changed = withSettings(scene_, settings);
    play_ = playStudioScene(changed, false);
    scene_ = std::move(changed);
    ++revision_;
    return state();
}

std::string StudioSession::frames(int32_t first, int32_t last) {
    if (first > last || first < scene_.frames.first || last > scene_.frames.last) {
        throw BadRequest("frames " + std::to_string(first) + ".." + std::to_string(last) + " are not in the range " +
                         std::to_string(scene_.frames.first) + ".." + std::to_string(scene_.frames.last));
    }
    const std::size_t perFrame = play_.framePositions * 3;
    const auto begin = static_cast<std::size_t>(int64_t{first} - scene_.frames.first) * perFrame;
    const auto end = static_cast<std::size_t>(int64_t{last} - scene_.frames.first + 1) * perFrame;
    std::string bytes;
    bytes.reserve((end - begin) * 4);
    for (std::size_t i = begin; i < end; ++i) appendFloat32(bytes, play_.positions[i]);
    return bytes;
}

std::string StudioSession::playCsv() {
    std::string text;
    PointsCsv csv([&text](std::string_view bytes) { text += bytes; }, scene_.scene);
    std::size_t at = 0;
    for (int64_t frame = scene_.frames.first; frame <= scene_.frames.last; ++frame) {
        for (std::size_t i = 0; i < play_.itemPositions.size(); ++i) {
            const std::size_t count = play_.itemPositions[i] * 3;
            csv.writeItem(static_cast<int32_t>(frame), i, std::span<const double>(play_.positions.data() + at, count));
            at += count;
        }
    }
    csv.flush();
    return text;
}

std::string StudioSession::panelPicture(std::size_t item) {
    const QuietWarnings quiet;
    return studio::panelPicture(scene_, effectItem(item));
}

std::size_t StudioSession::savedItem(const SaveRequest &request) const {
    if (request.item) return effectItem(*request.item);
    const std::vector<HostItem> &items = scene_.scene.items;
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
        case SaveKind::settings: saveSettingsFile(scene_, savedItem(request), target); break;
        case SaveKind::bake: saveBake(scene_, savedItem(request), request.bake, target); break;
        case SaveKind::scene: saveHostScene(scene_, target); break;
        case SaveKind::gltf: saveGltf(scene_, target); break;
    }
    return {{"written", saveFolder_.path() + "/" + request.fileName}, {"warnings", quiet.messages()}};
}

}  // namespace plof::host::studio
