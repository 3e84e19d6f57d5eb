// An effect's summary as JSON, the form `plof-host summary --json` prints and
// the studio serves: {"item" (1-based), "name", "frames", "points",
// "birthRate", "periodFrames", "firstLaunchFrame", "lastLaunchFrame",
// "flights", "flightsPerPoint", "flightFrames", "pointsInFlightPerFrame"
// (each {min, mean, max} or null), "boundingBox" ({min, max} or null),
// "highestAbovePivot", "farthestFromPivot", "warnings"}.
#pragma once

#include <vector>

#include <nlohmann/json.hpp>

#include "host/play/summary.h"

namespace plof::host {

nlohmann::ordered_json summaryJson(const EffectSummary &summary);

// {"items": [summaryJson of each]}, as `summary --json` prints it.
nlohmann::ordered_json summariesJson(const std::vector<EffectSummary> &summaries);

}  // namespace plof::host
