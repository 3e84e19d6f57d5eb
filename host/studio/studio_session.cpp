#include "host/studio/studio_session.h"

#include <bit>
#include <filesystem>

#include "host/base/number_text.h"
#include "host/base/random_token.h"
#include "host/files/file_bytes.h"
#include "host/files/output_file.h"
#include "host/gltf/gltf_file.h"
#include "host/run/export_recorder.h"
#include "host/run/points_csv.h"
#include "host/script/bake_request.h"
#include "host/script/bake_values.h"
#include "host/studio/save_name.h"
#include "host/studio/settings_request.h"
#include "host/studio/studio_state.h"

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

void appendFloat32(std::string &bytes, double value) {
    const auto word = std::bit_cast<uint32_t>(static_cast<float>(value));
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((word >> shift) & 0xFFu);
}

// A bake flag's value from the request's member `key` (a number, or an
// array of three for the spins), checked as `plof-host bake` checks it.
void readBakeValue(const nlohmann::json &request, const char *key, const std::string &flag, BakeRequest &bake) {
    if (!request.contains(key)) return;
    const nlohmann::json &value = request[key];
    std::string text;
    if (value.is_number()) {
        text = shortestText(value.get<double>());
    } else if (value.is_array() && value.size() == 3 && value[0].is_number() && value[1].is_number() &&
               value[2].is_number()) {
        text = shortestText(value[0].get<double>()) + "," + shortestText(value[1].get<double>()) + "," +
               shortestText(value[2].get<double>());
    } else {
        throw BadRequest(std::string(key) + " takes a number (spins: [h, p, b])");
    }
    std::string problem;
    if (!readBakeFlagValue(flag, text, bake, problem)) throw BadRequest(key + (": " + problem));
}

bool flagOf(const nlohmann::json &request, const char *key) {
    if (!request.contains(key)) return false;
    if (!request[key].is_boolean()) throw BadRequest(std::string(key) + " takes true or false");
    return request[key].get<bool>();
}

}  // namespace

StudioSession::StudioSession(PlaybackInputs inputs, std::string saveDirectory)
    : base_(std::move(inputs)), saveDirectory_(std::move(saveDirectory)) {
    replay();
    // A panel script is performed once: from now on the effects load what it left.
    if (base_.firstPanelRun) {
        base_.firstPanelRun.reset();
        ownLines_ = true;
    }
}

PlaybackInputs StudioSession::currentInputs() const {
    PlaybackInputs inputs = base_;
    if (ownLines_) {
        for (std::size_t i = 0; i < inputs.scene.items.size(); ++i) {
            HostItem &item = inputs.scene.items[i];
            if (item.hasEffect) {
                item.effectLines = settingsBlockLines(settings_[i]);
                item.effectLineNumber = 1;
            }
        }
    }
    return inputs;
}

void StudioSession::replay() {
    Playback playback(currentInputs());
    const HostScene &scene = playback.scene();
    std::vector<std::size_t> itemPositions(scene.items.size());
    for (std::size_t i = 0; i < scene.items.size(); ++i) itemPositions[i] = playback.worldPoints(i).size() / 3;
    std::size_t framePositions = 0;
    for (const std::size_t count : itemPositions) framePositions += count;
    std::vector<double> positions;
    positions.reserve(framePositions * 3 * static_cast<std::size_t>(playback.frameCount()));
    playback.play([&](int32_t) {
        for (std::size_t i = 0; i < scene.items.size(); ++i) {
            const std::span<const double> world = playback.worldPoints(i);
            positions.insert(positions.end(), world.begin(), world.end());
        }
    });
    std::vector<EffectSettings> settings(scene.items.size());
    for (std::size_t i = 0; i < scene.items.size(); ++i) settings[i] = playback.effectSettings(i);
    summaries_ = playback.summaries();
    settings_ = std::move(settings);
    itemPositions_ = std::move(itemPositions);
    framePositions_ = framePositions;
    positions_ = std::move(positions);
}

nlohmann::ordered_json StudioSession::state() {
    StudioStateView view;
    for (std::size_t i = 0; i < base_.scene.items.size(); ++i) {
        view.items.push_back(
            {base_.scene.items[i].name, itemPositions_[i], base_.scene.items[i].hasEffect ? &settings_[i] : nullptr});
    }
    view.firstFrame = base_.frames.first;
    view.lastFrame = base_.frames.last;
    view.fps = base_.fps;
    view.summaries = &summaries_;
    view.revision = revision_;
    return stateJson(view);
}

std::size_t StudioSession::effectItem(std::size_t item) const {
    if (item < 1 || item > base_.scene.items.size() || !base_.scene.items[item - 1].hasEffect) {
        throw BadRequest("item " + std::to_string(item) + " is no item of the scene that carries the effect");
    }
    return item - 1;
}

nlohmann::ordered_json StudioSession::changeSettings(std::size_t item, const nlohmann::json &request) {
    const std::size_t index = effectItem(item);
    std::vector<std::string> names;
    for (const HostItem &sceneItem : base_.scene.items) names.push_back(sceneItem.name);
    EffectSettings changed = settings_[index];
    std::string problem;
    if (!applySettingsRequest(request, names, changed, problem)) throw BadRequest(problem);
    const std::vector<EffectSettings> before = settings_;
    const bool ownedBefore = ownLines_;
    settings_[index] = changed;
    ownLines_ = true;
    try {
        replay();
    } catch (...) {
        settings_ = before;
        ownLines_ = ownedBefore;
        throw;
    }
    ++revision_;
    return state();
}

std::string StudioSession::frames(int32_t first, int32_t last) {
    if (first > last || first < base_.frames.first || last > base_.frames.last) {
        throw BadRequest("frames " + std::to_string(first) + ".." + std::to_string(last) + " are not in the range " +
                         std::to_string(base_.frames.first) + ".." + std::to_string(base_.frames.last));
    }
    const std::size_t perFrame = framePositions_ * 3;
    const auto begin = static_cast<std::size_t>(int64_t{first} - base_.frames.first) * perFrame;
    const auto end = static_cast<std::size_t>(int64_t{last} - base_.frames.first + 1) * perFrame;
    std::string bytes;
    bytes.reserve((end - begin) * 4);
    for (std::size_t i = begin; i < end; ++i) appendFloat32(bytes, positions_[i]);
    return bytes;
}

std::string StudioSession::playCsv() {
    std::string text;
    PointsCsv csv([&text](std::string_view bytes) { text += bytes; }, base_.scene);
    std::size_t at = 0;
    for (int64_t frame = base_.frames.first; frame <= base_.frames.last; ++frame) {
        for (std::size_t i = 0; i < itemPositions_.size(); ++i) {
            const std::size_t count = itemPositions_[i] * 3;
            csv.writeItem(static_cast<int32_t>(frame), i, std::span<const double>(positions_.data() + at, count));
            at += count;
        }
    }
    csv.flush();
    return text;
}

std::string StudioSession::panelPicture(std::size_t item) {
    const std::size_t index = effectItem(item);
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
    PanelRun session;
    session.script = panelScript({action(ScriptVerb::Cancel)});
    session.snapshotPath = picture.string();
    Playback playback(currentInputs());
    playback.openOptionsPanel(index, session);
    return readFileBytes(picture.string(), "panel picture");
}

std::string StudioSession::savePath(const nlohmann::json &request, const std::string &extension) const {
    if (!request.contains("name") || !request["name"].is_string()) throw BadRequest("save needs a \"name\" (text)");
    std::string problem;
    const auto path = studio::savePath(saveDirectory_, request["name"].get<std::string>(), extension, problem);
    if (!path) throw BadRequest(problem);
    return *path;
}

std::string StudioSession::saveSettingsFile(std::size_t index, const std::string &path) {
    ScriptAction choose = action(ScriptVerb::Choose);
    choose.path = path;
    PanelRun session;
    session.script = panelScript({action(ScriptVerb::Press, "S"), choose, action(ScriptVerb::Cancel)});
    Playback playback(currentInputs());
    playback.openOptionsPanel(index, session);
    return path;
}

std::string StudioSession::saveBake(std::size_t index, const std::string &path, const nlohmann::json &request) {
    BakeRequest bake;
    readBakeValue(request, "frames", "--frames", bake);
    readBakeValue(request, "step", "--step", bake);
    readBakeValue(request, "hpbMin", "--hpb-min", bake);
    readBakeValue(request, "hpbMax", "--hpb-max", bake);
    std::string problem;
    if (!readBakeFlagValue("--out", path, bake, problem)) throw BadRequest(problem);
    bake.alignH = flagOf(request, "alignH");
    bake.scale = flagOf(request, "scale");
    bake.dissolve = flagOf(request, "dissolve");
    PanelRun session;
    session.script = bakeScript(bake);
    Playback playback(currentInputs());
    playback.openOptionsPanel(index, session);
    return path;
}

std::string StudioSession::saveGltf(const std::string &path) {
    Playback playback(currentInputs());
    ExportRecorder recorder(playback);
    playback.play([&](int32_t frame) { recorder.record(frame); });
    const AnimatedScene scene = recorder.finish(std::nullopt);
    OutputFile file(path);
    writeGltf(scene, GltfContainer::binary, file);
    file.commit();
    return path;
}

nlohmann::ordered_json StudioSession::save(const nlohmann::json &request) {
    if (!request.is_object() || !request.contains("kind") || !request["kind"].is_string()) {
        throw BadRequest("save needs {\"kind\": \"plf\"|\"scene\"|\"glb\"|\"bake\", \"name\": \"...\"}");
    }
    const std::string kind = request["kind"].get<std::string>();
    std::size_t item = 0;
    while (item < base_.scene.items.size() && !base_.scene.items[item].hasEffect) ++item;
    if (request.contains("item")) {
        if (!request["item"].is_number_unsigned()) throw BadRequest("item takes an item number");
        item = request["item"].get<std::size_t>() - 1;
    }
    std::string written;
    if (kind == "plf") {
        written = saveSettingsFile(effectItem(item + 1), savePath(request, ".plf"));
    } else if (kind == "bake") {
        written = saveBake(effectItem(item + 1), savePath(request, ".lws"), request);
    } else if (kind == "scene") {
        written = savePath(request, ".lws");
        Playback playback(currentInputs());
        playback.play([](int32_t) {});
        playback.saveScene(written);
    } else if (kind == "glb") {
        written = saveGltf(savePath(request, ".glb"));
    } else {
        throw BadRequest("kind \"" + kind + "\" is none of plf, scene, glb, bake");
    }
    return {{"written", written}};
}

}  // namespace plof::host::studio
