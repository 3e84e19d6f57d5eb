// The controls of the options panel, named by their index in the order the
// panel adds them. The panel keeps its controls in one array of this size;
// the settings table, the settings files and the panel's events address the
// controls through these names. They are named here, beside the settings
// table (setting_fields.h), which gives each setting its control, so that
// the settings need nothing of the panels in panel/.
#pragma once

#include <array>
#include <cstddef>

#include "plof/panel_services.h"

namespace plof {

enum OptionsControl : std::size_t {
    kV0MinField,
    kV0MaxField,
    kV0MinDrag,
    kV0MaxDrag,
    kAgeMinField,
    kAgeMaxField,
    kAgeMinDrag,
    kAgeMaxDrag,
    kGravityField,
    kSparkFrameField,
    kBirthRateField,
    kRecycleBox,
    kSpreadMinSlider,
    kSpreadMaxSlider,
    kRegistanceSlider,
    kOrgEmitterBox,
    kAvoidObjectList,
    kCreateSceneButton,
    kSaveButton,
    kLoadButton,
    kOptionsControlCount
};

using OptionsControls = std::array<PlofControl, kOptionsControlCount>;

}  // namespace plof
