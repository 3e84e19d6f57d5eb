// Requests to the studio's server: the bytes as a PUT body either set only
// settings the options panel could hold, or change nothing and say why; the
// same bytes as a save name either give a file directly inside the save
// folder or are refused with a reason.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "fuzz_support.h"
#include "host/studio/save_name.h"
#include "host/studio/settings_request.h"

namespace {

using namespace plof::host;

void checkSettingsRequest(const std::string &text) {
    const nlohmann::json request = nlohmann::json::parse(text, nullptr, false);
    if (request.is_discarded()) return;
    EffectSettings settings;
    const EffectSettings before = settings;
    std::string problem;
    if (!studio::applySettingsRequest(request, {"Emitter", "Hideout"}, settings, problem)) {
        plof::fuzz::check(!problem.empty(), "a refused request says why");
        plof::fuzz::check(settings.values == before.values && settings.avoidObject == before.avoidObject,
                          "a refused request changes nothing");
        return;
    }
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const double value = settings.values[i];
        plof::fuzz::check(std::isfinite(value) && std::fabs(value) <= studio::kLargestSetting, "values are finite");
        plof::fuzz::check(value >= kSettingRules[i].panelMin && value <= kSettingRules[i].panelMax,
                          "values are in the panel's range");
    }
    plof::fuzz::check(
        settings.avoidObject.empty() || settings.avoidObject == "Emitter" || settings.avoidObject == "Hideout",
        "the avoid object is an item of the scene");
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
    checkSaveName(text);
    return 0;
}
