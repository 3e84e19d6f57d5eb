#include "host/play/summary_text.h"

#include <cstdio>

namespace plof::host {

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

std::string stat(const RunningStat &s, const std::string &unit) {
    if (s.count == 0) return "none";
    return "min " + number(s.min) + " / mean " + number(s.mean()) + " / max " + number(s.max) + unit;
}

std::string humanText(const EffectSummary &s) {
    std::string out = s.name + " (item " + std::to_string(s.item + 1) + "), frames " + std::to_string(s.firstFrame) +
                      ".." + std::to_string(s.lastFrame) + "\n";
    auto row = [&out](const char *label, const std::string &value) {
        char head[32];
        std::snprintf(head, sizeof head, "  %-22s", label);
        out += head + value + "\n";
    };
    row("points", std::to_string(s.points));
    row("birth rate", std::to_string(s.birth) + " per second");
    row("recycle period", s.period ? std::to_string(*s.period) + " frames (points x 30 / birth rate)" : "none");
    row("launches", s.firstLaunch ? "first at frame " + std::to_string(*s.firstLaunch) + ", last at frame " +
                                        std::to_string(*s.lastLaunch)
                                  : "none in the range");
    row("flights", std::to_string(s.flights) + " (per point: " + stat(s.flightsPerPoint, "") + ")");
    row("flight length", stat(s.flightFrames, " frames"));
    row("points in flight", stat(s.inFlightPerFrame, " per frame"));
    if (s.hasBox) {
        row("bounding box", "x " + number(s.boxMin[0]) + " .. " + number(s.boxMax[0]) + ", y " + number(s.boxMin[1]) +
                                " .. " + number(s.boxMax[1]) + ", z " + number(s.boxMin[2]) + " .. " +
                                number(s.boxMax[2]));
    }
    row("highest above pivot", number(s.highestAbovePivot));
    row("farthest from pivot", number(s.farthestFromPivot));
    for (const EffectWarning &warning : s.warnings) out += "  warning: " + warning.message + "\n";
    return out;
}

}  // namespace

std::string summariesText(const std::vector<EffectSummary> &summaries) {
    if (summaries.empty()) return "no item of the scene carries the effect\n";
    std::string out;
    for (std::size_t i = 0; i < summaries.size(); ++i) out += (i ? "\n" : "") + humanText(summaries[i]);
    return out;
}

}  // namespace plof::host
