// What `plof-host bake` asks of the module's panels, and the panel script
// that asks it: the bake goes through the options panel's "    CreateScene   "
// button and the baking panel exactly as a person would.
//
// The command reads its flags into a BakeRequest (reporting the first bad
// flag before anything is loaded), then runs bakeScript(request) against the
// options panel of the instance.
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

// The longest path the baking panel and the object list hold (their buffers
// are 256 bytes with the terminator).
inline constexpr std::size_t kBakePathLimit = 255;

// Reads the value of one bake flag into `request`. `flag` is one of
// --frames, --step, --objects, --hpb-min, --hpb-max, --out; false with
// `problem` saying what is wrong and what to write instead.
bool readBakeFlagValue(const std::string &flag, const std::string &value, BakeRequest &request,
                       std::string &problem);

// Checks what no single flag can: that --out was given.
bool checkBakeRequest(const BakeRequest &request, std::string &problem);

// The script for the options panel: press "    CreateScene   ", fill the
// baking panel, add each object through its file dialog, confirm the baking
// panel, then cancel the options panel (the bake edits no emitter setting).
PanelScript bakeScript(const BakeRequest &request);

}  // namespace plof::host
