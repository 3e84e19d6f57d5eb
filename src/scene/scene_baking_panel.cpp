#include "scene/scene_baking_panel.h"

#include <array>

#include "instance/handler_instance.h"
#include "panel/host_requests.h"
#include "panel/object_file_list.h"
#include "panel/options_panel.h"
#include "panel/panel_layer.h"
#include "panel/path_text.h"
#include "plof/host_services.h"
#include "scene/scene_baking.h"

namespace plof {

namespace {

constexpr const char *kTitle = "SceneCreate                        ";
constexpr int32_t kFreshFrameCount = 60;

enum ControlIndex : std::size_t {
    kSceneName, kObjectFile, kFrames, kFrameStep, kHpbMin, kHpbMax, kAlignH, kScale, kDissolve,
    kObjectList, kControlCount
};

struct ControlEntry {
    const char *kind;
    int32_t type;
    const char *label;
    int32_t column;
    int32_t row;
};

constexpr std::array<ControlEntry, kControlCount> kControls{{
    {"FileControl", 1, "ScneName   ", 100, 1},
    {"ButtonControl", 2, "ObjectFile ", 100, 2},
    {"NumControl", 2, "  frame     ", 100, 9},
    {"NumControl", 2, "  frame step", 100, 10},
    {"FVecControl", 6, "   HPB min  ", 80, 12},
    {"FVecControl", 6, "   HPB max  ", 80, 13},
    {"BoolControl", 8, "Align H", 100, 15},
    {"BoolControl", 8, "Scale ctl", 200, 15},
    {"BoolControl", 8, "Dslv ctl", 300, 15},
    {"ListBoxControl", 18, "Obj List", 100, 3},
}};

const ControlDescription &descriptionOf(std::size_t index) {
    const int32_t type = kControls[index].type;
    if (index == kSceneName) return describeControl(type, 30);
    if (index == kObjectList) {
        return describeControl(type, 200, 5, 0, reinterpret_cast<intptr_t>(objectListCount),
                               reinterpret_cast<intptr_t>(objectListName));
    }
    return describeControl(type);
}

void showInstance(const PlofPanelServices &services, const std::array<PlofControl, kControlCount> &c,
                  OptionsPanelContext &context) {
    HandlerInstance &instance = *context.instance;
    LineBuffer text{};
    // A scene path that does not fit is not suggested at all: a shortened one
    // would send the bake to a place the user never chose.
    if (!joinPath(text.data(), text.size(), hostDirectory("Scenes"), "PLOF.lws")) text[0] = '\0';
    setTextValue(services, c[kSceneName], text.data());
    joinPath(text.data(), text.size(), hostDirectory("Objects"), "*.lwo");
    setTextValue(services, c[kObjectFile], text.data());
    setIntegerValue(services, c[kFrames], kFreshFrameCount);
    setIntegerValue(services, c[kFrameStep], instance.frameStep);
    setIntegerValue(services, c[kAlignH], instance.alignH);
    setIntegerValue(services, c[kScale], instance.scaleCtl);
    setIntegerValue(services, c[kDissolve], instance.dslvCtl);
    setFloatVectorValue(services, c[kHpbMin], instance.hpbMin);
    setFloatVectorValue(services, c[kHpbMax], instance.hpbMax);
    setControlEvent(services, c[kObjectFile], addObjectFile, &context);
    setControlEvent(services, c[kObjectList], objectListEvent, &instance.objectList);
}

void bakeConfirmed(const PlofPanelServices &services, const std::array<PlofControl, kControlCount> &c,
                   HandlerInstance &instance) {
    LineBuffer scenePath{};
    getTextValue(services, c[kSceneName], scenePath.data(), static_cast<int32_t>(scenePath.size()));
    const int32_t frameCount = getIntegerValue(services, c[kFrames]);
    instance.frameStep = getIntegerValue(services, c[kFrameStep]);
    instance.alignH = getIntegerValue(services, c[kAlignH]);
    instance.scaleCtl = static_cast<uint8_t>(getIntegerValue(services, c[kScale]));
    instance.dslvCtl = static_cast<uint8_t>(getIntegerValue(services, c[kDissolve]));
    instance.hpbMin = getFloatVectorValue(services, c[kHpbMin]);
    instance.hpbMax = getFloatVectorValue(services, c[kHpbMax]);
    assignSpins(instance);
    bakeScene(scenePath.data(), instance.objectList, frameCount, instance);
}

}  // namespace

int32_t openSceneBakingPanel(PlofControl, OptionsPanelContext &context) {
    auto *services = context.global != nullptr
                         ? static_cast<PlofPanelServices *>(context.global(PLOF_SERVICE_PANELS, 0))
                         : nullptr;
    if (services == nullptr) {
        showError("Unable to active global LWPanelServices", " please add plugin lwpanels.p");
        return 2;
    }
    HandlerInstance &instance = *context.instance;
    PlofPanel panel = services->createPanel(kTitle, services);
    if (panel == nullptr) {
        showError("Duoooh!:", "Unable to create panel");
        return 1;
    }
    std::array<PlofControl, kControlCount> controls{};
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (i == kObjectList) services->userData = &instance.objectList;
        controls[i] = services->addControl(panel, kControls[i].kind, &descriptionOf(i), kControls[i].label);
        if (controls[i] == nullptr) {
            services->destroyPanel(panel);
            showError("Duoooh!:", "Unable to create panel");
            return 1;
        }
    }
    for (std::size_t i = 0; i < kControlCount; ++i) {
        placeControl(*services, controls[i], kControls[i].column, kControls[i].row);
    }
    showInstance(*services, controls, context);
    if (services->openPanel(panel, PLOF_OPEN_FLAGS) != 0) bakeConfirmed(*services, controls, instance);
    services->destroyPanel(panel);
    return 0;
}

void sceneBakingEvent(PlofControl control, void *userData) {
    openSceneBakingPanel(control, *static_cast<OptionsPanelContext *>(userData));
}

int32_t objectListCount(void *list) { return static_cast<const ObjectList *>(list)->count; }

const char *objectListName(void *data, int32_t index) {
    const ObjectList &list = *static_cast<const ObjectList *>(data);
    // Negative indices, and a count beyond the entries, never reach memory
    // outside the list.
    if (index < 0 || index >= list.count || static_cast<std::size_t>(index) >= list.names.size()) {
        return nullptr;
    }
    return list.names[static_cast<std::size_t>(index)].data();
}

void objectListEvent(PlofControl, void *) {}

}  // namespace plof
