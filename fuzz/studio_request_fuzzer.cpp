// Requests to the studio's server: the bytes as a PUT body either set only
// settings the page offers (or the ones held), or change nothing and say
// why; as a motion or range body they give sorted keys and a range that
// runs forward at a rate the host takes, or a refusal that says why; as a
// save body either a plain file name with its kind's extension or a
// refusal; as a save name a plain name or a refusal; and as a request (head
// lines, a blank line, then the body in pieces split at 0x01) either a
// refusal with a 4xx and its reason before any body, or a body kept up to
// the limit and refused past it.
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "host/http/request_reading.h"
#include "host/studio/save_name.h"
#include "host/studio/save_request.h"
#include "host/studio/scene_requests.h"
#include "host/studio/settings_request.h"
#include "host/studio/settings_vocabulary.h"
#include "host/studio/studio_model.h"

namespace {

using namespace plof::host;

void checkSettingsRequest(const nlohmann::json &request) {
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

void checkSceneRequests(const nlohmann::json &request) {
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

// A file name as saves take it, with an extension of four characters (".plf").
void checkPlainName(const std::string &file) {
    plof::fuzz::check(!file.empty() && file.size() <= studio::kLongestSaveName, "a saved name has a length");
    plof::fuzz::check(file.find('/') == std::string::npos && file.find('\\') == std::string::npos,
                      "a saved name has no directory part");
    plof::fuzz::check(file.find("..") == std::string::npos, "a saved name holds no \"..\"");
    for (const char c : file) plof::fuzz::check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f, "no controls");
    plof::fuzz::check(file.size() > 4, "a saved name is more than its extension");
}

void checkSaveRequest(const nlohmann::json &body) {
    try {
        const studio::SaveRequest request = studio::readSaveRequest(body);
        checkPlainName(request.fileName);
        plof::fuzz::check(request.bake.frames >= 1 && request.bake.step >= 1, "a bake has frames and a step");
    } catch (const studio::BadRequest &refused) {
        plof::fuzz::check(*refused.what() != '\0', "a refused save says why");
    }
}

void checkSaveName(const std::string &text) {
    std::string problem;
    const auto file = studio::saveFileName(text, ".plf", problem);
    plof::fuzz::check(file.has_value() == problem.empty(), "a name is taken or refused with a reason");
    if (!file) return;
    checkPlainName(*file);
    std::string extension = file->substr(file->size() - 4);
    for (char &c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    plof::fuzz::check(extension == ".plf", "a saved name ends with its kind's extension");
}

// Head lines "Name: value" up to a blank line (the first is the path), then
// the body's pieces.
void checkRequestReading(std::string_view text) {
    const std::size_t blank = std::min(text.find("\n\n"), text.size());
    const std::vector<std::string> lines = plof::fuzz::linesOf(text.substr(0, blank));
    http::RequestHead head{"PUT", lines.empty() ? "/api/state" : lines.front(), {}};
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::size_t colon = std::min(lines[i].find(':'), lines[i].size());
        head.headers.emplace_back(lines[i].substr(0, colon), lines[i].substr(std::min(colon + 1, lines[i].size())));
    }
    if (const auto refusal = http::refuseHead(head, std::string(32, 'a'), 8123)) {
        plof::fuzz::check(refusal->status >= 400 && refusal->status < 500 && !refusal->reason.empty(),
                          "a refused head is a 4xx with a reason");
        return;
    }
    http::BodyReader body;
    std::string_view rest = text.substr(std::min(blank + 2, text.size()));
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\x01'), rest.size());
        body.add(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    plof::fuzz::check(body.body().size() <= http::kBodyLimit, "no more than the limit is kept");
    plof::fuzz::check(body.refusal().has_value() == (body.received() > http::kBodyLimit), "refused past the limit");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(plof::fuzz::textOf(data, size));
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (!json.is_discarded()) {
        checkSettingsRequest(json);
        checkSaveRequest(json);
        checkSceneRequests(json);
    }
    checkSaveName(text);
    checkRequestReading(text);
    return 0;
}
