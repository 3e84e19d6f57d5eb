#include "host/studio/studio_session.h"

#include <cstring>

#include "host/base/number_text.h"
#include "host/run/points_csv.h"
#include "host/script/bake_values.h"
#include "host/studio/save_name.h"
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

// A bake value from the request's member `key` (a number, or an array of
// three for the spins), checked as `plof-host bake` checks it.
void readBakeRequestValue(const nlohmann::json &request, const char *key, BakeValue value, BakeRequest &bake) {
    if (!request.contains(key)) return;
    const nlohmann::json &given = request[key];
    std::string text;
    if (given.is_number()) {
        text = shortestText(given.get<double>());
    } else if (given.is_array() && given.size() == 3 && given[0].is_number() && given[1].is_number() &&
               given[2].is_number()) {
        text = shortestText(given[0].get<double>()) + "," + shortestText(given[1].get<double>()) + "," +
               shortestText(given[2].get<double>());
    } else {
        throw BadRequest(std::string(key) + " takes a number (spins: [h, p, b])");
    }
    std::string problem;
    if (!readBakeValue(value, key, text, bake, problem)) throw BadRequest(problem);
}

bool flagOf(const nlohmann::json &request, const char *key) {
    if (!request.contains(key)) return false;
    if (!request[key].is_boolean()) throw BadRequest(std::string(key) + " takes true or false");
    return request[key].get<bool>();
}

BakeRequest bakeRequest(const nlohmann::json &request, const std::string &path) {
    BakeRequest bake;
    readBakeRequestValue(request, "frames", BakeValue::Frames, bake);
    readBakeRequestValue(request, "step", BakeValue::Step, bake);
    readBakeRequestValue(request, "hpbMin", BakeValue::HpbMin, bake);
    readBakeRequestValue(request, "hpbMax", BakeValue::HpbMax, bake);
    std::string problem;
    if (!readBakeValue(BakeValue::Out, "name", path, bake, problem)) throw BadRequest(problem);
    bake.alignH = flagOf(request, "alignH");
    bake.scale = flagOf(request, "scale");
    bake.dissolve = flagOf(request, "dissolve");
    return bake;
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

StudioSession::StudioSession(PlaybackInputs scene, std::string saveDirectory)
    : scene_(std::move(scene)), saveDirectory_(std::move(saveDirectory)), play_(playStudioScene(scene_, true)) {
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

std::string StudioSession::savePath(const nlohmann::json &request, const std::string &extension) const {
    if (!request.contains("name") || !request["name"].is_string()) throw BadRequest("save needs a \"name\" (text)");
    std::string problem;
    const auto path = studio::savePath(saveDirectory_, request["name"].get<std::string>(), extension, problem);
    if (!path) throw BadRequest(problem);
    return *path;
}

std::size_t StudioSession::savedItem(const nlohmann::json &request) const {
    const std::vector<HostItem> &items = scene_.scene.items;
    std::size_t item = 0;
    while (item < items.size() && !items[item].hasEffect) ++item;
    if (request.contains("item")) {
        if (!request["item"].is_number_unsigned()) throw BadRequest("item takes an item number");
        item = request["item"].get<std::size_t>() - 1;
    }
    return effectItem(item + 1);
}

nlohmann::ordered_json StudioSession::save(const nlohmann::json &request) {
    if (!request.is_object() || !request.contains("kind") || !request["kind"].is_string()) {
        throw BadRequest("save needs {\"kind\": \"plf\"|\"scene\"|\"glb\"|\"bake\", \"name\": \"...\"}");
    }
    const std::string kind = request["kind"].get<std::string>();
    // Only the first play says its warnings on the terminal; a save's are in its answer.
    const QuietWarnings quiet;
    std::string written;
    if (kind == "plf") {
        const std::size_t index = savedItem(request);
        written = savePath(request, ".plf");
        saveSettingsFile(scene_, index, written);
    } else if (kind == "bake") {
        const std::size_t index = savedItem(request);
        written = savePath(request, ".lws");
        saveBake(scene_, index, bakeRequest(request, written));
    } else if (kind == "scene") {
        written = savePath(request, ".lws");
        saveHostScene(scene_, written);
    } else if (kind == "glb") {
        written = savePath(request, ".glb");
        saveGltf(scene_, written);
    } else {
        throw BadRequest("kind \"" + kind + "\" is none of plf, scene, glb, bake");
    }
    return {{"written", written}, {"warnings", quiet.messages()}};
}

}  // namespace plof::host::studio
