#include "host/play/summary_json.h"

#include "host/base/code_page_text.h"

namespace plof::host {

namespace {

nlohmann::ordered_json statJson(const RunningStat &s) {
    if (s.count == 0) return nullptr;
    return {{"min", s.min}, {"mean", s.mean()}, {"max", s.max}};
}

// Names in warnings are the host's, in its code page.
std::vector<std::string> utf8Messages(const std::vector<EffectWarning> &warnings) {
    std::vector<std::string> converted;
    for (const EffectWarning &warning : warnings) converted.push_back(utf8FromCodePage(warning.message));
    return converted;
}

template <typename T>
nlohmann::ordered_json optionalJson(const std::optional<T> &value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

}  // namespace

nlohmann::ordered_json summaryJson(const EffectSummary &s) {
    nlohmann::ordered_json box = nullptr;
    if (s.hasBox) {
        box = {{"min", {s.boxMin[0], s.boxMin[1], s.boxMin[2]}}, {"max", {s.boxMax[0], s.boxMax[1], s.boxMax[2]}}};
    }
    return {
        {"item", s.item + 1},
        {"name", utf8FromCodePage(s.name)},
        {"frames", {s.firstFrame, s.lastFrame}},
        {"points", s.points},
        {"birthRate", s.birth},
        {"periodFrames", optionalJson(s.period)},
        {"firstLaunchFrame", optionalJson(s.firstLaunch)},
        {"lastLaunchFrame", optionalJson(s.lastLaunch)},
        {"flights", s.flights},
        {"flightsPerPoint", statJson(s.flightsPerPoint)},
        {"flightFrames", statJson(s.flightFrames)},
        {"pointsInFlightPerFrame", statJson(s.inFlightPerFrame)},
        {"boundingBox", box},
        {"highestAbovePivot", s.highestAbovePivot},
        {"farthestFromPivot", s.farthestFromPivot},
        {"warnings", utf8Messages(s.warnings)},
    };
}

nlohmann::ordered_json summariesJson(const std::vector<EffectSummary> &summaries) {
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    for (const EffectSummary &s : summaries) items.push_back(summaryJson(s));
    return {{"items", items}};
}

}  // namespace plof::host
