// The answer of GET /api/state (and of every change): what a page or a
// script needs to show and edit the scene.
//   {"revision": n,                 one more with every change kept
//    "frames": {"first", "last"}, "fps",
//    "items": [{"item" (1-based), "name", "object" (null for a null),
//               "positions" (x, y, z triples per frame in /api/frames),
//               "motion": {"keys" (--motion text), "splines": [{"frame",
//               "tension", "continuity", "bias"}] (keys reached along a
//               spline, not a line), "scaled" (a key scales the item)},
//               "colour" ("#rrggbb" of its points in flight),
//               "settings": {keyword: value, "REFERENCE": name} or null
//               without the effect, and with the effect "warnings":
//               [{"keyword" (or null), "message"}] and "plf" (the settings
//               as a .plf file holds them)}],
//    "colours": {"resting", "other", "pivot"},
//    "history": {"undo", "redo" (steps each can take), "unsaved"},
//    "settingsTable": settingsVocabularyJson(),
//    "summary": {"items": [...]} as `plof-host summary --json` prints it,
//    "warnings": [text, ...] what the play of this scene warned about}
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/play/summary.h"
#include "host/scene/host_scene.h"
#include "host/settings/settings_reading.h"

namespace plof::host::studio {

struct StudioStateView {
    const HostScene *scene = nullptr;  // as played
    FrameRange frames;
    double fps = kDefaultFrameRate;
    const std::vector<std::size_t> *positions = nullptr;    // per item: triples per frame
    const std::vector<EffectSettings> *settings = nullptr;  // per item, as its effect holds them
    const std::vector<EffectSummary> *summaries = nullptr;  // per item with the effect
    const std::vector<std::string> *warnings = nullptr;     // the play's
    uint64_t revision = 0;
    std::size_t undoable = 0;
    std::size_t redoable = 0;
    bool unsaved = false;
};

nlohmann::ordered_json stateJson(const StudioStateView &view);

}  // namespace plof::host::studio
