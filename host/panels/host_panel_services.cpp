#include "host/panels/host_panel_services.h"

#include "host/base/host_context.h"
#include "host/module/service_registry.h"
#include "host/panels/control_value_store.h"
#include "host/panels/panel_layout.h"
#include "plof/host_services.h"

#include <new>

namespace plof::host {

LivePanels::~LivePanels() {
    for (PlofPanelRecord *panel : panels_) delete panel;
}

void LivePanels::destroy(PlofPanelRecord *panel) {
    if (panels_.erase(panel) != 0) delete panel;
}

namespace {

LivePanels *livePanels() {
    const HostContext *context = hostContext();
    return context ? context->panels : nullptr;
}

bool isLive(PlofPanelRecord *panel) {
    const LivePanels *panels = livePanels();
    return panels && panels->contains(panel);
}

// These operations are called by the module: nothing may throw out of them,
// so a host that runs out of memory answers "no panel" or "no control", as
// the module expects of a host that cannot make one.
PlofPanel createPanel(const char *title, PlofPanelServices *services) {
    LivePanels *panels = livePanels();
    if (!panels) return nullptr;
    std::unique_ptr<PlofPanelRecord> panel(new (std::nothrow) PlofPanelRecord);
    if (!panel) return nullptr;
    try {
        panel->title = title ? title : "";
        panel->services = services;
        panels->add(panel.get());
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    return panel.release();
}

void destroyPanel(PlofPanel panel) {
    if (LivePanels *panels = livePanels()) panels->destroy(panel);
}

int32_t openPanel(PlofPanel panel, int32_t) {
    if (!isLive(panel) || panel->open) return 0;
    panel->open = true;
    drawPanel(*panel);
    PanelDriver *driver = hostContext()->panelDriver;
    const int32_t result = driver ? driver->runPanel(*panel) : 0;
    // The driver may not destroy the panel, so it is still live here.
    panel->open = false;
    return result;
}

void setPanelAttribute(PlofPanel panel, int32_t code, void *value) {
    if (!isLive(panel)) return;
    switch (code) {
        case PLOF_PANEL_HEIGHT:
            if (value) panel->height = *static_cast<const int32_t *>(value);
            break;
        case PLOF_PANEL_DRAW: panel->draw = reinterpret_cast<PlofDrawFunc>(value); break;
        case PLOF_PANEL_USER_DATA: panel->userData = value; break;
        default: break;  // attributes the module does not use are ignored
    }
}

PlofControl addControl(PlofPanel panel, const char *kindName, const PlofControlDescription *description,
                       const char *label) {
    ControlKind kind;
    if (!isLive(panel) || !controlKindFromName(kindName, kind)) return nullptr;
    auto control = std::unique_ptr<PlofControlRecord>(new (std::nothrow) PlofControlRecord);
    if (!control) return nullptr;
    control->panel = panel;
    control->index = static_cast<int>(panel->controls.size()) + 1;
    control->kind = kind;
    if (description) {
        for (std::size_t i = 0; i < control->words.size(); ++i) control->words[i] = description->words[i];
    }
    if (kind == ControlKind::ListBox && panel->services) control->listData = panel->services->userData;
    try {
        control->label = label ? label : "";
        panel->controls.push_back(std::move(control));
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    return panel->controls.back().get();
}

void getControlAttribute(PlofControl control, int32_t code, PlofControlValue *value) {
    if (!control || !value) return;
    switch (code) {
        case PLOF_CONTROL_X: value->value.integer = control->x; break;
        case PLOF_CONTROL_Y: value->value.integer = control->y; break;
        case PLOF_CONTROL_VALUE: loadControlValue(*control, *value); break;
        case PLOF_CONTROL_LABEL_WIDTH: value->value.integer = labelWidth(*control); break;
        case PLOF_CONTROL_EVENT: value->value.integer = reinterpret_cast<intptr_t>(control->event); break;
        case PLOF_CONTROL_USER_DATA: value->value.integer = reinterpret_cast<intptr_t>(control->userData); break;
        default: break;
    }
}

void setControlAttribute(PlofControl control, int32_t code, PlofControlValue *value) {
    if (!control || !value) return;
    switch (code) {
        case PLOF_CONTROL_X: control->x = static_cast<int32_t>(value->value.integer); break;
        case PLOF_CONTROL_Y: control->y = static_cast<int32_t>(value->value.integer); break;
        case PLOF_CONTROL_VALUE: try { storeControlValue(*control, *value);
            } catch (const std::bad_alloc &) {
                control->text.clear();  // a text the host has no room for is not kept
            }
            break;
        case PLOF_CONTROL_EVENT: control->event = reinterpret_cast<PlofEventFunc>(value->value.integer); break;
        case PLOF_CONTROL_USER_DATA: control->userData = reinterpret_cast<void *>(value->value.integer); break;
        default: break;  // the label width is read only
    }
}

void drawPixel(PlofPanel panel, int32_t colour, int32_t x, int32_t y) {
    if (!isLive(panel)) return;
    try {
        panel->pixels[{x, y}] = colour;
    } catch (const std::bad_alloc &) {
        // A pixel the host has no room to keep is simply not drawn.
    }
}

}  // namespace

PlofPanelServices &panelServices() {
    static PlofPanelServices services{
        nullptr,     &createPanel,         &destroyPanel,        &openPanel, &setPanelAttribute,
        &addControl, &getControlAttribute, &setControlAttribute, &drawPixel};
    return services;
}

void providePanelServices() { provideService(PLOF_SERVICE_PANELS, &panelServices()); }

void drawPanel(PlofPanelRecord &panel) {
    if (panel.draw) panel.draw(&panel, panel.userData, 0);
}

int livePanelCount() {
    const LivePanels *panels = livePanels();
    return panels ? panels->count() : 0;
}

}  // namespace plof::host
