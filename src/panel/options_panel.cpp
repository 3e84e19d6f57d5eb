#include "panel/options_panel.h"

#include "plof/module.h"

namespace plof {

int32_t openOptionsPanel(int32_t version, PlofGlobalFunc /*global*/, void * /*instance*/) {
    if (version != 1) return PLOF_ACTIVATE_BAD_VERSION;
    // No panel can be shown yet, whether or not the host has "LWPanelServices".
    return PLOF_ACTIVATE_BAD_SERVICES;
}

}  // namespace plof
