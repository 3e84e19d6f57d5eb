// The main options panel: the whole work of the DisplacementInterface server.
//
// The host activates the server with the HandlerInstance of an object; the
// activation builds the panel, shows the instance's settings, blocks while
// the user edits (events, drags, the nested settings-file and scene-baking
// actions run inside that call), writes the values back on confirmation and
// re-initialises the particles whether the user confirmed or cancelled.
#pragma once

#include <array>
#include <cstdint>

#include "instance/handler_instance.h"
#include "instance/options_controls.h"
#include "instance/setting_fields.h"
#include "plof/abi.h"
#include "plof/panel_services.h"

namespace plof {

// One opening of the options panel. Created by openOptionsPanel after the
// last control exists, handed to the host as the user data of the panel and
// of every control with an event, released right after the panel is
// destroyed. The controls belong to the panel; the instance is not owned.
struct OptionsPanelContext {
    PlofPanelServices *services;
    PlofPanel panel;
    OptionsControls controls;  // every control, by OptionsControl index
    HandlerInstance *instance;
    PlofGlobalFunc global;
    LineBuffer objectsDir;  // where the next object file dialog opens
    int32_t ageMinAnchor;   // the age values when the current drag started (drag_buttons.h)
    int32_t ageMaxAnchor;
    // What each setting's control, and the avoid-object list, read right
    // after the panel showed the instance, and which of them "L" has set
    // since: a control that still reads so was not moved, and its setting
    // keeps the instance's exact value.
    std::array<double, kSettingCount> shownSettings;
    std::array<bool, kSettingCount> loadedSettings;
    int32_t shownAvoidObject;
    bool avoidLoaded;
};

// The DisplacementInterface activation. `instance` is the HandlerInstance to
// edit. Returns PLOF_ACTIVATE_OK when the panel ran (confirmed or cancelled,
// and when the context could not be allocated), PLOF_ACTIVATE_BAD_VERSION
// for an interface version other than 1, PLOF_ACTIVATE_BAD_SERVICES when
// "LWPanelServices" is missing or the panel cannot be built.
int32_t openOptionsPanel(int32_t version, PlofGlobalFunc global, void *instance);

// Shows `value` of the setting `field`, read from a settings file, in its
// control of the open panel, in the control's form (Regist as its slider
// position, integers truncated), and marks the setting as loaded.
void showLoadedSetting(OptionsPanelContext &context, const SettingField &field, double value);

// Shows the avoid object `item` found by "L" in the avoid-object list, and
// marks the list as loaded.
void showLoadedAvoidObject(OptionsPanelContext &context, PlofItemId item);

// Reads what the panel's controls show into `instance` (the instance the
// panel shows, or a copy of it), with the conversions of confirmation: every
// setting of the settings table (Regist = slider / 20, OrgEmit the low 8
// bits), then the avoid object (refItem, and refName empty for none or the
// item's name in the host; after "L" the object counts as looked up). A
// control the user did not move, and "L" did not set, leaves its setting as
// the instance has it, so Regist 0.37 or OrgEmit 2 stay, and so does an avoid
// object not yet looked up by name.
void readShownSettings(const OptionsPanelContext &context, HandlerInstance &instance);

// How the panel shows Regist: as the integer slider position 20 x Regist,
// truncated toward zero (saturating), and back.
int32_t registanceSliderPosition(double regist);
double registFromSliderPosition(int32_t position);

// The objects-directory pattern given to the "S" and "L" buttons, cut to
// the 256-byte buffer.
void settingsFilePattern(LineBuffer &pattern);

}  // namespace plof
