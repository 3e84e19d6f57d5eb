// The module's baking panel as the host sees it: the labels of its controls,
// exactly as the module creates them (and of the options panel's button that
// opens it), and the bake that a confirmed one asks for.
#pragma once

#include "host/panels/panel_record.h"

#include <cstdint>
#include <optional>
#include <string>

namespace plof::host::baking_panel {

inline constexpr const char *kCreateScene = "    CreateScene   ";  // in the options panel
inline constexpr const char *kSceneName = "ScneName   ";
inline constexpr const char *kObjectFile = "ObjectFile ";
inline constexpr const char *kFrames = "  frame     ";
inline constexpr const char *kFrameStep = "  frame step";
inline constexpr const char *kHpbMin = "   HPB min  ";
inline constexpr const char *kHpbMax = "   HPB max  ";
inline constexpr const char *kAlignH = "Align H";
inline constexpr const char *kScale = "Scale ctl";
inline constexpr const char *kDissolve = "Dslv ctl";

struct AskedBake {
    std::string scene;  // the scene file to write
    int32_t frames = 0;
    int32_t step = 1;
};

// What `panel` asks the module to bake when it is confirmed now; nothing
// when it is not the baking panel (no file field "ScneName   " with the
// number fields "  frame     " and "  frame step").
std::optional<AskedBake> askedBake(const PlofPanelRecord &panel);

}  // namespace plof::host::baking_panel
