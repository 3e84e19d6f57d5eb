// What a bake asks of the module's panels, and the panel script that asks
// it: the bake goes through the options panel's "    CreateScene   " button
// and the baking panel exactly as a person would.
//
// `plof-host bake` and the studio read their values into a BakeRequest
// (bake_values.h), then run bakeScript(request) against the options panel
// of the instance.
#pragma once

#include "host/script/panel_script.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace plof::host {

struct BakeRequest {
    std::string out;                   // the scene file to write
    int32_t frames = 60;               // frames 0 .. frames-1 are sampled
    int32_t step = 1;                  // the baking panel's frame step
    std::vector<std::string> objects;  // object files, added in order through "ObjectFile "
    std::array<double, 3> hpbMin{};    // spin bounds, degrees per second
    std::array<double, 3> hpbMax{};
    bool alignH = false;
    bool scale = false;
    bool dissolve = false;
};

// The script for the options panel: press "    CreateScene   ", fill the
// baking panel, add each object through its file dialog, confirm the baking
// panel, then cancel the options panel (the bake edits no emitter setting).
PanelScript bakeScript(const BakeRequest &request);

}  // namespace plof::host
