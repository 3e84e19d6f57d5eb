#include "support/service_reset.h"

#include <initializer_list>

#include "host/module/service_registry.h"
#include "plof/host_services.h"
#include "plof/panel_services.h"

namespace plof::host {

void clearServices() {
    for (const char *name :
         {PLOF_SERVICE_OBJECT_INFO, PLOF_SERVICE_OBJECT_ACCESS, PLOF_SERVICE_ITEM_INFO, PLOF_SERVICE_MESSAGES,
          PLOF_SERVICE_FILE_REQUEST, PLOF_SERVICE_DIRECTORY_INFO, PLOF_SERVICE_PANELS}) {
        provideService(name, nullptr);
    }
}

}  // namespace plof::host
