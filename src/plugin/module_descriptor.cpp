// The module descriptor, the one symbol exported from plof.p. The host looks
// it up by the C name "_mod_descrip", checks its synchronisation word and
// reaches everything else through its start-up operation and server list.
#include "panel/options_panel.h"
#include "plof/module.h"
#include "plugin/handler_activation.h"

#if defined(_WIN32)
#define PLOF_EXPORT __declspec(dllexport)
#else
#define PLOF_EXPORT __attribute__((visibility("default")))
#endif

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
