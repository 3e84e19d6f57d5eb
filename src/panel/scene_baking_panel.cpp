#include "panel/scene_baking_panel.h"

#include <array>

#include "base/path_text.h"
#include "instance/handler_instance.h"
#include "panel/host_requests.h"
#include "panel/object_file_list.h"
#include "panel/options_panel.h"
#include "panel/panel_builder.h"
#include "panel/panel_layer.h"
#include "scene/scene_baking.h"
#include "scene/spin_assignment.h"

namespace plof {

namespace {

constexpr const char *kTitle = "SceneCreate                        ";
constexpr int32_t kFreshFrameCount = 60;
// Shown with the scene's path when a bake is refused or cannot be written.
constexpr const char *kCannotWriteScene = "Can't write scene file";

enum ControlIndex : std::size_t {
    kSceneName,
    kObjectFile,
    kFrames,
    kFrameStep,
    kHpbMin,
    kHpbMax,
    kAlignH,
    kScale,
    kDissolve,
    kObjectList,
    kControlCount
};

// The list box's count and name callbacks are filled in at run time.
constexpr std::array<ControlSpec, kControlCount> kControls{{
    {PLOF_KIND_FILE, {30}, "ScneName   ", 100, 1},
    {PLOF_KIND_BUTTON, {}, "ObjectFile ", 100, 2},
    {PLOF_KIND_NUMBER, {}, "  frame     ", 100, 9},
    {PLOF_KIND_NUMBER, {}, "  frame step", 100, 10},
    {PLOF_KIND_FLOAT_VECTOR, {}, "   HPB min  ", 80, 12},
    {PLOF_KIND_FLOAT_VECTOR, {}, "   HPB max  ", 80, 13},
    {PLOF_KIND_BOOL, {}, "Align H", 100, 15},
    {PLOF_KIND_BOOL, {}, "Scale ctl", 200, 15},
    {PLOF_KIND_BOOL, {}, "Dslv ctl", 300, 15},
    {PLOF_KIND_LIST_BOX, {200, 5, 0}, "Obj List", 100, 3},
}};

void showInstance(const PlofPanelServices &services, const std::array<PlofControl, kControlCount> &c,
                  OptionsPanelContext &context) {
    HandlerInstance &instance = *context.instance;
    LineBuffer text{};
    // A scene path that does not fit is not suggested at all: a shortened one
    // would send the bake to a place the user never chose.
    if (!joinPath(text.data(), text.size(), hostDirectory(PLOF_DIRECTORY_SCENES), "PLOF.lws")) text[0] = '\0';
    setTextValue(services, c[kSceneName], text.data());
    joinPath(text.data(), text.size(), hostDirectory(PLOF_DIRECTORY_OBJECTS), "*.lwo");
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
    if (!bakeScene(scenePath.data(), instance.objectList, frameCount, instance)) {
        showError(kCannotWriteScene, scenePath.data());
    }
}

}  // namespace

SceneBakingPanelResult openSceneBakingPanel(PlofControl, OptionsPanelContext &context) {
    PlofPanelServices *services = fetchPanelServices(context.global);
    if (services == nullptr) return kBakingPanelNoServices;
    HandlerInstance &instance = *context.instance;
    std::array<ControlSpec, kControlCount> specs = kControls;
    specs[kObjectList].words[3] = reinterpret_cast<intptr_t>(objectListCount);
    specs[kObjectList].words[4] = reinterpret_cast<intptr_t>(objectListName);
    // The list box takes the services' user-data word as its data when it
    // is added, and addObjectFile reads the list back from there.
    services->userData = &instance.objectList;
    std::array<PlofControl, kControlCount> controls{};
    PlofPanel panel = buildPanel(*services, kTitle, specs, controls);
    if (panel == nullptr) return kBakingPanelNotBuilt;
    showInstance(*services, controls, context);
    if (services->openPanel(panel, PLOF_OPEN_FLAGS) != 0) bakeConfirmed(*services, controls, instance);
    services->destroyPanel(panel);
    return kBakingPanelClosed;
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
