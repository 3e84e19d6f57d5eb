#include "panel/options_panel.h"

#include <array>
#include <new>

#include "instance/item_lookup.h"
#include "instance/number_format.h"
#include "panel/host_requests.h"
#include "panel/panel_layer.h"
#include "panel/path_text.h"
#include "panel/settings_file.h"
#include "panel/spread_preview.h"
#include "plof/host_services.h"
#include "plugin/module_state.h"
#include "scene/scene_baking_panel.h"
#include "sim/particle_launch.h"

namespace plof {

namespace {

constexpr const char *kTitle = "PLOF!  ver.1.95";
constexpr int32_t kPanelRows = 13;
constexpr double kRegistanceScale = 20.0;

// The controls in the order they are added.
enum ControlIndex : std::size_t {
    kV0Min, kV0Max, kV0MinDrag, kV0MaxDrag, kAgeMin, kAgeMax, kAgeMinDrag, kAgeMaxDrag,
    kGravity, kSparkFrame, kBirthRate, kRecycle, kSpreadMin, kSpreadMax, kRegistance,
    kOrgEmitter, kAvoidObject, kCreateScene, kSave, kLoad, kControlCount
};

struct ControlEntry {
    const char *kind;
    int32_t type;
    std::array<intptr_t, 3> words;  // the LWListControl's first word is filled in at run time
    const char *label;
    int32_t column;
    int32_t row;
};

constexpr std::array<ControlEntry, kControlCount> kControls{{
    {"FloatControl", 3, {}, "      V0  Min ", 100, 1},
    {"FloatControl", 3, {}, "  Max", 250, 1},
    {"DragButtonControl", 19, {0, -1, 0}, "", 170, 1},
    {"DragButtonControl", 19, {0, -1, 0}, "", 320, 1},
    {"NumControl", 2, {}, " Age Min frame ", 100, 2},
    {"NumControl", 2, {}, "  Max", 250, 2},
    {"DragButtonControl", 19, {0, -1, 0}, "", 170, 2},
    {"DragButtonControl", 19, {0, -1, 0}, "", 320, 2},
    {"FloatControl", 3, {}, "Gravity", 100, 3},
    {"NumControl", 2, {}, "SparkFrame", 100, 4},
    {"NumControl", 2, {}, "BirthRate p/s", 250, 4},
    {"BoolControl", 8, {}, "Recycle", 400, 4},
    {"SliderControl", 15, {180, 0, 180}, "Spread Min", 100, 5},
    {"SliderControl", 15, {180, 0, 180}, "Spread Max", 100, 6},
    {"SliderControl", 15, {200, 0, 100}, "Registance", 100, 9},
    {"BoolControl", 8, {}, "OrgEmitter", 400, 7},
    {"LWListControl", 16, {}, "                  Avoid Object ", 100, 7},
    {"ButtonControl", 2, {}, "    CreateScene   ", 100, 11},
    {"ButtonControl", 2, {}, "S", 300, 11},
    {"ButtonControl", 2, {}, "L", 330, 11},
}};

OptionsPanelContext &contextOf(void *userData) { return *static_cast<OptionsPanelContext *>(userData); }

void reportPanelFailure() { showError("Duoooh!:", "Unable to create panel"); }

// Adds every control in order; on the first failure destroys the panel and
// reports it. Returns false then.
bool addControls(PlofPanelServices &services, PlofPanel panel, PlofGlobalFunc global,
                 std::array<PlofControl, kControlCount> &controls) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlEntry &entry = kControls[i];
        const ControlDescription &description =
            i == kAvoidObject ? describeControl(entry.type, reinterpret_cast<intptr_t>(global))
                              : describeControl(entry.type, entry.words[0], entry.words[1], entry.words[2]);
        controls[i] = services.addControl(panel, entry.kind, &description, entry.label);
        if (controls[i] == nullptr) {
            services.destroyPanel(panel);
            reportPanelFailure();
            return false;
        }
    }
    return true;
}

void showInstance(const PlofPanelServices &services, const std::array<PlofControl, kControlCount> &c,
                  const HandlerInstance &instance) {
    setFloatValue(services, c[kV0Min], instance.V0Min);
    setFloatValue(services, c[kV0Max], instance.V0Max);
    setIntegerValue(services, c[kAgeMin], instance.AgeMin);
    setIntegerValue(services, c[kAgeMax], instance.AgeMax);
    setFloatValue(services, c[kGravity], instance.Gravity);
    setIntegerValue(services, c[kSparkFrame], instance.START_F);
    setIntegerValue(services, c[kBirthRate], instance.Birth);
    setIntegerValue(services, c[kRecycle], instance.ReCycle);
    setIntegerValue(services, c[kSpreadMin], instance.SpreadMin);
    setIntegerValue(services, c[kSpreadMax], instance.SpreadMax);
    setIntegerValue(services, c[kRegistance], registanceSliderPosition(instance.Regist));
    setIntegerValue(services, c[kOrgEmitter], instance.OrgEmit);
    // Item identifiers are 32-bit words; the bits go through unchanged.
    setIntegerValue(services, c[kAvoidObject], static_cast<int32_t>(instance.refItem));
}

void readBack(const OptionsPanelContext &context) {
    const PlofPanelServices &services = *context.services;
    HandlerInstance &instance = *context.instance;
    instance.V0Min = getFloatValue(services, context.v0MinCtl);
    instance.V0Max = getFloatValue(services, context.v0MaxCtl);
    instance.AgeMin = getIntegerValue(services, context.ageMinCtl);
    instance.AgeMax = getIntegerValue(services, context.ageMaxCtl);
    instance.Gravity = getFloatValue(services, context.gravityCtl);
    instance.SpreadMin = getIntegerValue(services, context.spreadMinCtl);
    instance.SpreadMax = getIntegerValue(services, context.spreadMaxCtl);
    instance.Regist = registFromSliderPosition(getIntegerValue(services, context.registanceCtl));
    instance.START_F = getIntegerValue(services, context.sparkFrameCtl);
    instance.Birth = getIntegerValue(services, context.birthRateCtl);
    instance.ReCycle = getIntegerValue(services, context.recycleCtl);
    instance.OrgEmit = static_cast<uint8_t>(getIntegerValue(services, context.orgEmitterCtl));
    instance.refItem = static_cast<PlofItemId>(getIntegerValue(services, context.avoidObjectCtl));
    if (instance.refItem == 0) {
        instance.refName[0] = '\0';
    } else {
        itemNameOrNone(instance.refItem, instance.refName);
    }
}

// The drag measure: a larger value lowers the dragged setting.
int32_t dragMeasure(const PlofPanelServices &services, PlofControl dragButton) {
    return getIntVectorValue(services, dragButton)[1];
}

// A drag's half-measure of -1, 0 or 1 marks the start of a drag.
bool dragStarts(int32_t half) { return half >= -1 && half <= 1; }

}  // namespace

int32_t registanceSliderPosition(double regist) { return truncateToInt32(regist * kRegistanceScale); }

double registFromSliderPosition(int32_t position) { return position / kRegistanceScale; }

void settingsFilePattern(LineBuffer &pattern) {
    joinPath(pattern.data(), pattern.size(), hostDirectory("Objects"), "*.plf");
}

int32_t openOptionsPanel(int32_t version, PlofGlobalFunc global, void *instanceRecord) {
    if (version != 1) return 1;
    auto *services = global != nullptr ? static_cast<PlofPanelServices *>(global(PLOF_SERVICE_PANELS, 0))
                                       : nullptr;
    if (services == nullptr) {
        showError("Unable to active global LWPanelServices", " please add plugin lwpanels.p");
        return 2;
    }
    HandlerInstance &instance = *static_cast<HandlerInstance *>(instanceRecord);

    PlofPanel panel = services->createPanel(kTitle, services);
    if (panel == nullptr) {
        reportPanelFailure();
        return 2;
    }
    std::array<PlofControl, kControlCount> controls{};
    if (!addControls(*services, panel, global, controls)) return 2;

    for (std::size_t i = 0; i < kControlCount; ++i) {
        placeControl(*services, controls[i], kControls[i].column, kControls[i].row);
    }
    setPanelRows(*services, panel, kPanelRows);
    showInstance(*services, controls, instance);

    LineBuffer pattern{};
    settingsFilePattern(pattern);
    setTextValue(*services, controls[kSave], pattern.data());
    setTextValue(*services, controls[kLoad], pattern.data());

    auto *context = new (std::nothrow) OptionsPanelContext{};
    if (context == nullptr) {
        showError("Couldn't allocate memory !!");
        services->destroyPanel(panel);
        return 0;
    }
    context->services = services;
    context->panel = panel;
    context->spreadMinCtl = controls[kSpreadMin];
    context->spreadMaxCtl = controls[kSpreadMax];
    context->v0MinCtl = controls[kV0Min];
    context->v0MaxCtl = controls[kV0Max];
    context->ageMinCtl = controls[kAgeMin];
    context->ageMaxCtl = controls[kAgeMax];
    context->sparkFrameCtl = controls[kSparkFrame];
    context->recycleCtl = controls[kRecycle];
    context->gravityCtl = controls[kGravity];
    context->birthRateCtl = controls[kBirthRate];
    context->registanceCtl = controls[kRegistance];
    context->orgEmitterCtl = controls[kOrgEmitter];
    context->avoidObjectCtl = controls[kAvoidObject];
    context->v0MinDragCtl = controls[kV0MinDrag];
    context->v0MaxDragCtl = controls[kV0MaxDrag];
    context->instance = &instance;
    context->global = global;
    copyBounded(context->objectsDir.data(), context->objectsDir.size(), hostDirectory("Objects"));
    context->ageMinAnchor = instance.AgeMin;
    context->ageMaxAnchor = instance.AgeMax;

    setControlEvent(*services, controls[kCreateScene], sceneBakingEvent, context);
    setControlEvent(*services, controls[kSpreadMin], drawSpreadPreview, context);
    setControlEvent(*services, controls[kSpreadMax], drawSpreadPreview, context);
    setControlEvent(*services, controls[kSave], saveSettings, context);
    setControlEvent(*services, controls[kLoad], loadSettings, context);
    setControlEvent(*services, controls[kV0MinDrag], dragV0Min, context);
    setControlEvent(*services, controls[kV0MaxDrag], dragV0Max, context);
    setControlEvent(*services, controls[kAgeMinDrag], dragAgeMin, context);
    setControlEvent(*services, controls[kAgeMaxDrag], dragAgeMax, context);
    services->setPanelAttribute(panel, PLOF_PANEL_DRAW, reinterpret_cast<void *>(drawOptionsPanel));
    services->setPanelAttribute(panel, PLOF_PANEL_USER_DATA, context);

    if (services->openPanel(panel, PLOF_OPEN_FLAGS) != 0) readBack(*context);
    initialiseVelocities(instance);
    initialiseLifetimes(instance);

    services->destroyPanel(panel);
    delete context;
    return 0;
}

void dragV0Min(PlofControl control, void *userData) {
    OptionsPanelContext &context = contextOf(userData);
    const PlofPanelServices &services = *context.services;
    const int32_t d = dragMeasure(services, control);
    const double a = getFloatValue(services, context.v0MinCtl);
    const double b = getFloatValue(services, context.v0MaxCtl);
    double value = a - d / 100.0;
    if (value > b) value = b;
    if (value < 0.0) value = 0.0;
    setFloatValue(services, context.v0MinCtl, value);
}

void dragV0Max(PlofControl control, void *userData) {
    OptionsPanelContext &context = contextOf(userData);
    const PlofPanelServices &services = *context.services;
    const int32_t d = dragMeasure(services, control);
    const double a = getFloatValue(services, context.v0MinCtl);
    const double b = getFloatValue(services, context.v0MaxCtl);
    double value = b - d / 100.0;
    if (value < a) value = a;
    if (value < 0.0) value = 0.0;
    setFloatValue(services, context.v0MaxCtl, value);
}

void dragAgeMin(PlofControl control, void *userData) {
    OptionsPanelContext &context = contextOf(userData);
    const PlofPanelServices &services = *context.services;
    const int32_t half = dragMeasure(services, control) / 2;
    const int32_t lo = getIntegerValue(services, context.ageMinCtl);
    const int32_t hi = getIntegerValue(services, context.ageMaxCtl);
    if (dragStarts(half)) context.ageMinAnchor = lo;
    // In 64 bits the anchor minus the drag cannot overflow; the clamps then
    // bring the value back into the control's range.
    int64_t value = int64_t{context.ageMinAnchor} - half;
    if (value > hi) value = hi;
    if (value < 0) value = 0;
    setIntegerValue(services, context.ageMinCtl, clampToInt32(value));
}

void dragAgeMax(PlofControl control, void *userData) {
    OptionsPanelContext &context = contextOf(userData);
    const PlofPanelServices &services = *context.services;
    const int32_t half = dragMeasure(services, control) / 2;
    const int32_t lo = getIntegerValue(services, context.ageMinCtl);
    const int32_t hi = getIntegerValue(services, context.ageMaxCtl);
    if (dragStarts(half)) context.ageMaxAnchor = hi;
    int64_t value = int64_t{context.ageMaxAnchor} - half;
    if (value < lo) value = lo;
    if (value < 0) value = 0;
    setIntegerValue(services, context.ageMaxCtl, clampToInt32(value));
}

}  // namespace plof
