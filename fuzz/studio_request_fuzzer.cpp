// Requests to the studio's server: the bytes as a PUT body either set only
// settings the page offers (or the ones held), or change nothing and say
// why; as a motion or range body they give sorted keys and a range that
// runs forward at a rate the host takes, or a refusal that says why; the
// same bytes as a save name either give a file directly inside the save
// folder or are refused with a reason.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "fuzz_support.h"
#include "host/studio/save_name.h"
#include "host/studio/scene_requests.h"
#include "host/studio/settings_request.h"
#include "host/studio/settings_vocabulary.h"
#include "host/studio/studio_model.h"

namespace {

using namespace plof::host;

void checkSettingsRequest(const std::string &text) {
    const nlohmann::json request = nlohmann::json::parse(text, nullptr, false);
    if (request.is_discarded()) return;
    EffectSettings settings;
    const EffectSettings before = settings;
    studio::SettingsRefusal refusal;
    if (!studio::applySettingsRequest(request, {"Emitter", "Hideout"}, settings, refusal)) {
        plof::fuzz::check(!refusal.message.empty(), "a refused request says why");
        plof::fuzz::check(settings.values == before.values && settings.avoidObject == before.avoidObject,
                          "a refused request changes nothing");
        return;
    }
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const double value = settings.values[i];
        plof::fuzz::check(std::isfinite(value) && std::fabs(value) <= studio::kLargestSetting, "values are finite");
        plof::fuzz::check(value == before.values[i] ||
                              (value >= studio::kPageSettings[i].min && value <= studio::kPageSettings[i].max),
                          "values are held or in the page's range");
    }
    plof::fuzz::check(
        settings.avoidObject.empty() || settings.avoidObject == "Emitter" || settings.avoidObject == "Hideout",
        "the avoid object is an item of the scene");
}

void checkSceneRequests(const std::string &text) {
    const nlohmann::json request = nlohmann::json::parse(text, nullptr, false);
    if (request.is_discarded()) return;
    try {
        const std::vector<MotionKey> keys = studio::motionRequest(request);
        for (std::size_t k = 1; k < keys.size(); ++k) {
            plof::fuzz::check(keys[k - 1].frame <= keys[k].frame, "motion keys are sorted");
        }
    } catch (const studio::BadRequest &refused) {
        plof::fuzz::check(*refused.what() != '\0', "a refused motion says why");
    }
    FrameRange frames;
    double fps = kDefaultFrameRate;
    try {
        studio::rangeRequest(request, frames, fps);
        plof::fuzz::check(frames.first <= frames.last, "a range runs forward");
        plof::fuzz::check(fps >= kLowestFrameRate && fps <= kHighestFrameRate, "a rate the host takes");
    } catch (const studio::BadRequest &refused) {
        plof::fuzz::check(frames.first == 0 && frames.last == 59 && fps == kDefaultFrameRate,
                          "a refused range changes nothing");
    }
}

void checkSaveName(const std::string &text) {
    static const std::filesystem::path folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "plof_fuzz_studio_saves";
        std::filesystem::create_directories(path);
        return std::filesystem::canonical(path);
    }();
    std::string problem;
    const auto path = studio::savePath(folder.string(), text, ".plf", problem);
    if (!path) {
        plof::fuzz::check(!problem.empty(), "a refused name says why");
        return;
    }
    const std::filesystem::path saved(*path);
    plof::fuzz::check(saved.parent_path() == folder, "a save goes directly into the folder");
    plof::fuzz::check(saved.filename().string().find("..") == std::string::npos, "a saved name holds no \"..\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(plof::fuzz::textOf(data, size));
    checkSettingsRequest(text);
    checkSceneRequests(text);
    checkSaveName(text);
    return 0;
}
