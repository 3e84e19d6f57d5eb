// The spread preview beside the spread sliders of the options panel: a
// half-disc of radius 18 whose directions between the two spread angles are
// drawn in one host colour and all others in another.
//
// Both are callbacks of the options panel and take its OptionsPanelContext
// as user data. They read the sliders' current values, so the picture
// follows the sliders before anything reaches the instance.
#pragma once

#include <cstdint>

#include "plof/panel_services.h"

namespace plof {

inline constexpr int32_t kSpreadColour = 4107;  // 0x100B: inside the spread
inline constexpr int32_t kOtherColour = 4099;   // 0x1003: every other direction

// Event of both spread sliders: redraws all 520 pixels of the half-disc.
// The control argument is not used.
void drawSpreadPreview(PlofControl control, void *context);

// Draw callback of the options panel: draws the spread preview.
void drawOptionsPanel(PlofPanel panel, void *context, int32_t mode);

}  // namespace plof
