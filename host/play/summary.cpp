#include "host/play/summary.h"

#include <algorithm>
#include <cmath>

namespace plof::host {

namespace {

int64_t ceilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

std::string text(int64_t value) { return std::to_string(value); }

// What to change so that the recycle period (points x 30 / Birth) exceeds
// AgeMax and every flight runs its full life.
std::string longerPeriodAdvice(const EffectSummary &s, int32_t ageMax) {
    const int64_t frames = std::max<int64_t>(ageMax, 1) + 1;
    const int64_t pointsNeeded = ceilDiv(frames * s.birth, kScheduleFps);
    const int64_t birthAllowed = int64_t{s.points} * kScheduleFps / frames;
    std::string advice = "use an object of at least " + text(pointsNeeded) + " points";
    if (birthAllowed >= 1) advice += ", or a birth rate of at most " + text(birthAllowed);
    return advice + ", so that the period exceeds AgeMax (" + text(ageMax) + ")";
}

}  // namespace

void RunningStat::add(double value) {
    min = count == 0 ? value : std::min(min, value);
    max = count == 0 ? value : std::max(max, value);
    sum += value;
    ++count;
}

EffectSummaryCollector::EffectSummaryCollector(const HostScene &scene, std::size_t item, const EffectSettings &settings,
                                               double framesPerSecond)
    : settings_(settings), resting_(scene, item, settings, framesPerSecond) {
    const std::size_t points = static_cast<std::size_t>(scene.items[item].pointCount());
    summary_.item = item;
    summary_.name = scene.items[item].name;
    summary_.points = static_cast<int32_t>(points);
    summary_.birth = settings.whole(Setting::Birth);
    if (summary_.birth > 0) summary_.period = recyclePeriod(summary_.points, summary_.birth);
    runLength_.assign(points, 0);
    flightsOfPoint_.assign(points, 0);
}

void EffectSummaryCollector::addFrame(int32_t frame, double time, std::span<const double> world) {
    resting_.setFrame(frame, time);
    const Vec3 &pivot = resting_.pivot();
    std::size_t inFlight = 0;
    bool launched = false;
    for (std::size_t p = 0; p < runLength_.size(); ++p) {
        const double *at = &world[3 * p];
        launched = launched || resting_.bornThisFrame(p);
        const bool flies = !resting_.atRest(p, at);
        if (flies) {
            ++inFlight;
            if (runLength_[p] == 0) ++flightsOfPoint_[p];
            ++runLength_[p];
        } else if (runLength_[p] > 0) {
            summary_.flightFrames.add(runLength_[p]);
            runLength_[p] = 0;
        }
        if (!(std::isfinite(at[0]) && std::isfinite(at[1]) && std::isfinite(at[2]))) {
            ++summary_.notFinite;
            continue;
        }
        double distance = 0.0;
        for (int c = 0; c < 3; ++c) {
            summary_.boxMin[c] = summary_.hasBox ? std::min(summary_.boxMin[c], at[c]) : at[c];
            summary_.boxMax[c] = summary_.hasBox ? std::max(summary_.boxMax[c], at[c]) : at[c];
            distance += (at[c] - pivot[c]) * (at[c] - pivot[c]);
        }
        summary_.hasBox = true;
        summary_.highestAbovePivot = std::max(summary_.highestAbovePivot, at[1] - pivot[1]);
        summary_.farthestFromPivot = std::max(summary_.farthestFromPivot, std::sqrt(distance));
    }
    summary_.inFlightPerFrame.add(static_cast<double>(inFlight));
    if (launched) {
        if (!summary_.firstLaunch) summary_.firstLaunch = frame;
        summary_.lastLaunch = frame;
    }
}

EffectSummary EffectSummaryCollector::finish(int32_t firstFrame, int32_t lastFrame) {
    for (std::size_t p = 0; p < runLength_.size(); ++p) {
        if (runLength_[p] > 0) summary_.flightFrames.add(runLength_[p]);
        summary_.flightsPerPoint.add(flightsOfPoint_[p]);
        summary_.flights += static_cast<std::size_t>(flightsOfPoint_[p]);
    }
    summary_.firstFrame = firstFrame;
    summary_.lastFrame = lastFrame;
    summary_.warnings = summaryWarnings(summary_, settings_);
    return summary_;
}

std::vector<EffectWarning> summaryWarnings(const EffectSummary &s, const EffectSettings &settings) {
    std::vector<EffectWarning> warnings;
    const int32_t start = settings.whole(Setting::START_F);
    const int32_t ageMin = settings.whole(Setting::AgeMin);
    const int32_t ageMax = std::max(ageMin, settings.whole(Setting::AgeMax));
    const bool recycles = settings.whole(Setting::ReCycle) == 1;
    const std::string period = s.period ? text(*s.period) : "";
    const std::string periodFormula =
        " (" + text(s.points) + " points x " + text(kScheduleFps) + " / " + text(s.birth) + ")";
    if (s.points == 0) {
        warnings.push_back({std::nullopt,
                            "the object has no points: the effect has nothing to move; give the item an object with "
                            "points"});
    } else if (!s.period) {
        warnings.push_back(
            {Setting::Birth,
             "Birth " + text(s.birth) + ": no particle is ever launched; set \"BirthRate p/s\" (Birth) above 0"});
    } else if (start > s.lastFrame) {
        warnings.push_back({Setting::START_F, "START_F " + text(start) + " comes after the last frame " +
                                                  text(s.lastFrame) + ": nothing is launched in frames " +
                                                  text(s.firstFrame) + ".." + text(s.lastFrame) +
                                                  "; lower \"SparkFrame\" (START_F) or play more frames (--frames)"});
    } else if (recycles && *s.period == 1) {
        warnings.push_back(
            {Setting::Birth, "the recycle period is 1 frame" + periodFormula +
                                 ": every particle is relaunched each frame and never leaves the emitter; " +
                                 longerPeriodAdvice(s, ageMax)});
    } else if (recycles && *s.period == 0) {
        warnings.push_back(
            {Setting::Birth, "Birth " + text(s.birth) + " is above points x " + text(kScheduleFps) + " = " +
                                 text(int64_t{s.points} * kScheduleFps) +
                                 ": the recycle period is 0, so each particle flies once although ReCycle is on; "
                                 "lower Birth to at most " +
                                 text(int64_t{s.points} * kScheduleFps) + " to recycle"});
    } else if (recycles && *s.period <= ageMax) {
        warnings.push_back(
            {Setting::Birth, "the recycle period is " + period + " frames" + periodFormula + ", " +
                                 (*s.period <= ageMin ? "not longer than AgeMin (" + text(ageMin) + ")"
                                                      : "not longer than AgeMax (" + text(ageMax) + ")") +
                                 ": particles are relaunched after at most " + text(*s.period - 1) +
                                 " frames of flight, so flights are cut short; " + longerPeriodAdvice(s, ageMax)});
    }
    if (settings.whole(Setting::OrgEmit) == 0 && settings.whole(Setting::SpreadMin) == 0 &&
        settings.whole(Setting::SpreadMax) == 0) {
        warnings.push_back({Setting::SpreadMax,
                            "OrgEmit is off and the spread is 0: every point leaves straight along the emitter's +Y "
                            "axis, on one line; widen \"Spread Max\" (e.g. 15) or turn \"OrgEmitter\" on"});
    }
    if (s.notFinite > 0) {
        warnings.push_back(
            {std::nullopt, text(s.notFinite) + " positions (points x frames) are not finite numbers: they are " +
                               "left out of the box and the distances; keep the speeds (V0Min, V0Max), Gravity and " +
                               "Regist finite"});
    }
    // Only played frames show whether a point leaves (a bake plays none here).
    if (warnings.empty() && s.points > 0 && s.flights == 0 && s.inFlightPerFrame.count > 0) {
        warnings.push_back({std::nullopt, "no point leaves its resting place in frames " + text(s.firstFrame) + ".." +
                                              text(s.lastFrame) +
                                              "; check the speeds (V0Min, V0Max), Gravity and the frame range"});
    }
    return warnings;
}

}  // namespace plof::host
