#include "plugin/module_descriptor.h"

#include "panel/options_panel.h"
#include "plugin/handler_activation.h"

namespace {

// The host only needs a non-null value back; it hands it to shutdown, which
// has nothing to release.
void *startup() { return reinterpret_cast<void *>(static_cast<intptr_t>(4)); }

void shutdown(void * /*serverData*/) {}

const PlofServerRecord kServers[] = {
    {PLOF_CLASS_DISPLACEMENT_HANDLER, PLOF_SERVER_NAME, plof::activateHandler},
    {PLOF_CLASS_DISPLACEMENT_INTERFACE, PLOF_SERVER_NAME, plof::openOptionsPanel},
    {nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" PLOF_EXPORT const PlofModuleDescriptor _mod_descrip = {
    PLOF_MODULE_SYNC, PLOF_MODULE_VERSION, PLOF_MODULE_MACHINE, startup, shutdown, kServers,
};
