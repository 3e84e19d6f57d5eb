// Module-wide state: everything the module keeps outside its instances.
//
// The host runs the module on one thread, one call at a time, so these are
// plain variables. The service records are fetched by handler activation and
// replaced by every later activation; the random generator starts at 1 when
// the module is loaded and is never reseeded.
#pragma once

#include <cstdint>

#include "plof/abi.h"
#include "plof/host_services.h"

namespace plof {

// The host's service records one activation fetches, all or none.
struct HostServiceRecords {
    const PlofObjectInfo *objectInfo = nullptr;
    const PlofDirectoryInfo *directoryInfo = nullptr;
    const PlofItemInfo *itemInfo = nullptr;
    const PlofMessages *messages = nullptr;
    const PlofFileRequest *fileRequest = nullptr;
    const PlofObjectAccess *objectAccess = nullptr;
};

struct ModuleState : HostServiceRecords {
    PlofGlobalFunc global = nullptr;
    uint32_t randomState = 1;
};

// The one instance of the module's state.
ModuleState &moduleState();

// The state as it is when the module has just been loaded.
ModuleState freshModuleState();

}  // namespace plof
