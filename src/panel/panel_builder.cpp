#include "panel/panel_builder.h"

#include "panel/host_requests.h"
#include "panel/panel_layer.h"
#include "plof/host_services.h"

namespace plof {

namespace {

void reportPanelFailure() { showError("Duoooh!:", "Unable to create panel"); }

}  // namespace

PlofPanelServices *fetchPanelServices(PlofGlobalFunc global) {
    auto *services = global != nullptr ? static_cast<PlofPanelServices *>(global(PLOF_SERVICE_PANELS, 0)) : nullptr;
    if (services == nullptr) showError("Unable to active global LWPanelServices", " please add plugin lwpanels.p");
    return services;
}

PlofPanel buildPanel(PlofPanelServices &services, const char *title, std::span<const ControlSpec> specs,
                     std::span<PlofControl> controls) {
    PlofPanel panel = services.createPanel(title, &services);
    if (panel == nullptr) {
        reportPanelFailure();
        return nullptr;
    }
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const ControlSpec &entry = specs[i];
        const ControlDescription description = describeControl(entry.kind.type, entry.words[0], entry.words[1],
                                                               entry.words[2], entry.words[3], entry.words[4]);
        controls[i] = services.addControl(panel, entry.kind.name, &description, entry.label);
        if (controls[i] == nullptr) {
            services.destroyPanel(panel);
            reportPanelFailure();
            return nullptr;
        }
    }
    for (std::size_t i = 0; i < specs.size(); ++i) placeControl(services, controls[i], specs[i].column, specs[i].row);
    return panel;
}

}  // namespace plof
