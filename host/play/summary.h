// The effect of one item in numbers, for `plof-host summary`.
//
// From the settings (as the host reads them): the point count, the birth
// rate, the recycle period (points x 30 / Birth, integer division, as the
// effect computes it) and the first and last launch frame in the range
// (frames on which some point's emission schedule starts a flight).
// Observed from the played world positions, frame by frame (RestingPlaces
// tells a point in flight: away from its resting place): flights per point,
// their length in frames, points in flight per frame, the bounding box of
// every position, the highest point above the emitter's pivot and the
// farthest distance from it. A flight still running at the range's end
// counts with the frames it had in the range.
//
// Warnings say, one line each, what will happen and what to change: flights
// cut short by a period shorter than the ages, nothing launched in the
// range, a birth rate above points x 30, every point leaving on one line;
// and, when frames were played, no point leaving its resting place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "host/play/resting_places.h"
#include "host/scene/host_scene.h"
#include "host/settings/settings_reading.h"

namespace plof::host {

struct RunningStat {
    double min = 0.0;
    double max = 0.0;
    double sum = 0.0;
    std::size_t count = 0;

    void add(double value);
    double mean() const { return count == 0 ? 0.0 : sum / static_cast<double>(count); }
};

// A warning about an item's effect, and the setting it asks to change (none
// where the way out lies elsewhere: the object, the range, the speeds).
struct EffectWarning {
    std::optional<Setting> setting;
    std::string message;
};

struct EffectSummary {
    std::size_t item = 0;  // 0-based
    std::string name;
    int32_t firstFrame = 0;
    int32_t lastFrame = 0;
    int32_t points = 0;
    int32_t birth = 0;
    std::optional<int64_t> period;  // none when Birth is not above 0
    std::optional<int32_t> firstLaunch;
    std::optional<int32_t> lastLaunch;
    std::size_t flights = 0;
    RunningStat flightsPerPoint;
    RunningStat flightFrames;
    RunningStat inFlightPerFrame;
    bool hasBox = false;    // some position was finite
    int64_t notFinite = 0;  // point-frames whose position is not finite (left out of box and distances)
    Vec3 boxMin{};
    Vec3 boxMax{};
    double highestAbovePivot = 0.0;
    double farthestFromPivot = 0.0;
    std::vector<EffectWarning> warnings;
};

class EffectSummaryCollector {
public:
    // For item `item` of `scene` (which must outlive the collector), played
    // at `framesPerSecond` with `settings`.
    EffectSummaryCollector(const HostScene &scene, std::size_t item, const EffectSettings &settings,
                           double framesPerSecond);

    // One played frame: the item's world positions, x, y, z per point.
    // Frames come in order.
    void addFrame(int32_t frame, double time, std::span<const double> world);

    // The numbers and warnings for frames first..last, once every frame was
    // added (or none: then the numbers and warnings the settings alone give).
    EffectSummary finish(int32_t firstFrame, int32_t lastFrame);

private:
    EffectSettings settings_;
    RestingPlaces resting_;
    EffectSummary summary_;
    std::vector<int32_t> runLength_;  // frames of each point's flight so far; 0 at rest
    std::vector<int32_t> flightsOfPoint_;
};

// The warnings of a summary whose numbers are filled in.
std::vector<EffectWarning> summaryWarnings(const EffectSummary &summary, const EffectSettings &settings);

}  // namespace plof::host
