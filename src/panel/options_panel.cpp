#include "panel/options_panel.h"

#include <array>
#include <cstring>
#include <new>

#include "base/number_format.h"
#include "base/path_text.h"
#include "instance/item_lookup.h"
#include "instance/particle_launch.h"
#include "panel/drag_buttons.h"
#include "panel/host_requests.h"
#include "panel/panel_builder.h"
#include "panel/panel_layer.h"
#include "panel/scene_baking_panel.h"
#include "panel/settings_file.h"
#include "panel/spread_preview.h"
#include "plof/module.h"

namespace plof {

namespace {

constexpr const char *kTitle = "PLOF!  ver.1.95";
constexpr int32_t kPanelRows = 13;
constexpr double kRegistanceScale = 20.0;

// Indexed by OptionsControl. The avoid-object list's first word, the host's
// global-service function, is filled in at run time.
constexpr std::array<ControlSpec, kOptionsControlCount> kControls{{
    {PLOF_KIND_FLOAT, {}, "      V0  Min ", 100, 1},
    {PLOF_KIND_FLOAT, {}, "  Max", 250, 1},
    {PLOF_KIND_DRAG_BUTTON, {0, -1}, "", 170, 1},
    {PLOF_KIND_DRAG_BUTTON, {0, -1}, "", 320, 1},
    {PLOF_KIND_NUMBER, {}, " Age Min frame ", 100, 2},
    {PLOF_KIND_NUMBER, {}, "  Max", 250, 2},
    {PLOF_KIND_DRAG_BUTTON, {0, -1}, "", 170, 2},
    {PLOF_KIND_DRAG_BUTTON, {0, -1}, "", 320, 2},
    {PLOF_KIND_FLOAT, {}, "Gravity", 100, 3},
    {PLOF_KIND_NUMBER, {}, "SparkFrame", 100, 4},
    {PLOF_KIND_NUMBER, {}, "BirthRate p/s", 250, 4},
    {PLOF_KIND_BOOL, {}, "Recycle", 400, 4},
    {PLOF_KIND_SLIDER, {180, 0, 180}, "Spread Min", 100, 5},
    {PLOF_KIND_SLIDER, {180, 0, 180}, "Spread Max", 100, 6},
    {PLOF_KIND_SLIDER, {200, 0, 100}, "Registance", 100, 9},
    {PLOF_KIND_BOOL, {}, "OrgEmitter", 400, 7},
    {PLOF_KIND_ITEM_LIST, {}, "                  Avoid Object ", 100, 7},
    {PLOF_KIND_BUTTON, {}, "    CreateScene   ", 100, 11},
    {PLOF_KIND_BUTTON, {}, "S", 300, 11},
    {PLOF_KIND_BUTTON, {}, "L", 330, 11},
}};

// The controls with an action; each is called with the panel's context.
struct ControlEvent {
    OptionsControl control;
    PlofEventFunc event;
};

constexpr ControlEvent kEvents[] = {
    {kCreateSceneButton, sceneBakingEvent},
    {kSpreadMinSlider, drawSpreadPreview},
    {kSpreadMaxSlider, drawSpreadPreview},
    {kSaveButton, saveSettings},
    {kLoadButton, loadSettings},
    {kV0MinDrag, dragV0Min},
    {kV0MaxDrag, dragV0Max},
    {kAgeMinDrag, dragAgeMin},
    {kAgeMaxDrag, dragAgeMax},
};

PlofPanel buildOptionsPanel(PlofPanelServices &services, PlofGlobalFunc global, OptionsControls &controls) {
    std::array<ControlSpec, kOptionsControlCount> specs = kControls;
    specs[kAvoidObjectList].words[0] = reinterpret_cast<intptr_t>(global);
    PlofPanel panel = buildPanel(services, kTitle, specs, controls);
    if (panel != nullptr) setPanelRows(services, panel, kPanelRows);
    return panel;
}

void showValue(const PlofPanelServices &services, PlofControl control, PanelForm form, double value) {
    switch (form) {
        case PanelForm::Float: setFloatValue(services, control, value); break;
        case PanelForm::Integer: setIntegerValue(services, control, truncateToInt32(value)); break;
        case PanelForm::RegistSlider: setIntegerValue(services, control, registanceSliderPosition(value)); break;
    }
}

double shownValue(const PlofPanelServices &services, PlofControl control, PanelForm form) {
    switch (form) {
        case PanelForm::Float: return getFloatValue(services, control);
        case PanelForm::Integer: return getIntegerValue(services, control);
        case PanelForm::RegistSlider: return registFromSliderPosition(getIntegerValue(services, control));
    }
    return 0.0;
}

// Two readings of a control are the same when their bits are (NaN included).
bool sameReading(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void showInstance(const PlofPanelServices &services, const OptionsControls &controls, const HandlerInstance &instance) {
    for (const SettingField &field : kSettingFields) {
        showValue(services, controls[field.control], field.form, settingValue(instance, field));
    }
    // Item identifiers are 32-bit words; the bits go through unchanged.
    setIntegerValue(services, controls[kAvoidObjectList], static_cast<int32_t>(instance.refItem));
    LineBuffer pattern{};
    settingsFilePattern(pattern);
    setTextValue(services, controls[kSaveButton], pattern.data());
    setTextValue(services, controls[kLoadButton], pattern.data());
}

// Null when memory runs out.
OptionsPanelContext *newContext(PlofPanelServices &services, PlofPanel panel, const OptionsControls &controls,
                                PlofGlobalFunc global, HandlerInstance &instance) {
    auto *context = new (std::nothrow) OptionsPanelContext{};
    if (context == nullptr) return nullptr;
    context->services = &services;
    context->panel = panel;
    context->controls = controls;
    context->instance = &instance;
    context->global = global;
    copyBounded(context->objectsDir.data(), context->objectsDir.size(), hostDirectory(PLOF_DIRECTORY_OBJECTS));
    context->ageMinAnchor = instance.AgeMin;
    context->ageMaxAnchor = instance.AgeMax;
    for (const SettingField &field : kSettingFields) {
        context->shownSettings[settingIndex(field)] = shownValue(services, controls[field.control], field.form);
    }
    context->shownAvoidObject = getIntegerValue(services, controls[kAvoidObjectList]);
    return context;
}

void wireEvents(const PlofPanelServices &services, OptionsPanelContext &context) {
    for (const ControlEvent &wire : kEvents) {
        setControlEvent(services, context.controls[wire.control], wire.event, &context);
    }
    services.setPanelAttribute(context.panel, PLOF_PANEL_DRAW, reinterpret_cast<void *>(drawOptionsPanel));
    services.setPanelAttribute(context.panel, PLOF_PANEL_USER_DATA, &context);
}

}  // namespace

int32_t registanceSliderPosition(double regist) { return truncateToInt32(regist * kRegistanceScale); }

double registFromSliderPosition(int32_t position) { return position / kRegistanceScale; }

void settingsFilePattern(LineBuffer &pattern) {
    joinPath(pattern.data(), pattern.size(), hostDirectory(PLOF_DIRECTORY_OBJECTS), "*.plf");
}

void showLoadedSetting(OptionsPanelContext &context, const SettingField &field, double value) {
    showValue(*context.services, context.controls[field.control], field.form, value);
    context.loadedSettings[settingIndex(field)] = true;
}

void showLoadedAvoidObject(OptionsPanelContext &context, PlofItemId item) {
    setIntegerValue(*context.services, context.controls[kAvoidObjectList], static_cast<int32_t>(item));
    context.avoidLoaded = true;
}

void readShownSettings(const OptionsPanelContext &context, HandlerInstance &instance) {
    const PlofPanelServices &services = *context.services;
    for (const SettingField &field : kSettingFields) {
        const std::size_t i = settingIndex(field);
        const double shown = shownValue(services, context.controls[field.control], field.form);
        // Not moved: the slider's step or the check box's on would change it.
        if (!context.loadedSettings[i] && sameReading(shown, context.shownSettings[i])) continue;
        storeSetting(instance, field, shown);
    }
    const int32_t listed = getIntegerValue(services, context.controls[kAvoidObjectList]);
    // Not moved: an avoid object still to be looked up by name stays so.
    if (!context.avoidLoaded && listed == context.shownAvoidObject) return;
    if (context.avoidLoaded) instance.refResolved = 1;
    instance.refItem = static_cast<PlofItemId>(listed);
    if (instance.refItem == 0) {
        instance.refName[0] = '\0';
    } else {
        itemNameOrNone(instance.refItem, instance.refName);
    }
}

int32_t openOptionsPanel(int32_t version, PlofGlobalFunc global, void *instanceRecord) {
    if (version != 1) return PLOF_ACTIVATE_BAD_VERSION;
    PlofPanelServices *services = fetchPanelServices(global);
    if (services == nullptr) return PLOF_ACTIVATE_BAD_SERVICES;
    HandlerInstance &instance = *static_cast<HandlerInstance *>(instanceRecord);
    OptionsControls controls{};
    PlofPanel panel = buildOptionsPanel(*services, global, controls);
    if (panel == nullptr) return PLOF_ACTIVATE_BAD_SERVICES;
    showInstance(*services, controls, instance);

    OptionsPanelContext *context = newContext(*services, panel, controls, global, instance);
    if (context == nullptr) {
        showError("Couldn't allocate memory !!");
        services->destroyPanel(panel);
        return PLOF_ACTIVATE_OK;
    }
    wireEvents(*services, *context);
    if (services->openPanel(panel, PLOF_OPEN_FLAGS) != 0) readShownSettings(*context, instance);
    initialiseVelocities(instance);
    initialiseLifetimes(instance);
    services->destroyPanel(panel);
    delete context;
    return PLOF_ACTIVATE_OK;
}

}  // namespace plof
