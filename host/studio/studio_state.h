// The answer of GET /api/state: what a page or a script needs to show and
// edit the effect.
//   {"revision": n,                 one more with every change kept
//    "frames": {"first", "last"}, "fps",
//    "items": [{"item" (1-based), "name", "positions" (x, y, z triples per
//               frame in /api/frames), "settings": {keyword: value,
//               "REFERENCE": name} or null without the effect}],
//    "settingsTable": settingsVocabularyJson(),
//    "summary": {"items": [...]} as `plof-host summary --json` prints it,
//    "warnings": [text, ...] what the play of these settings warned about}
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/base/frame_rate.h"
#include "host/play/summary.h"
#include "host/settings/settings_reading.h"

namespace plof::host::studio {

struct StudioItem {
    std::string name;
    std::size_t positions = 0;
    const EffectSettings *settings = nullptr;  // null: the item does not carry the effect
};

struct StudioStateView {
    std::vector<StudioItem> items;
    int32_t firstFrame = 0;
    int32_t lastFrame = 0;
    double fps = kDefaultFrameRate;
    const std::vector<EffectSummary> *summaries = nullptr;
    const std::vector<std::string> *warnings = nullptr;
    uint64_t revision = 0;
};

nlohmann::ordered_json stateJson(const StudioStateView &view);

}  // namespace plof::host::studio
