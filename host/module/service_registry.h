// The services the stand-in host offers to the module, by name.
//
// The module asks for a service through the global-service function, a plain
// C function pointer, so the registry is process-wide: host parts provide
// their records here and globalServiceFunction() answers from them. Records
// are not owned; whoever provides one keeps it alive while it is provided.
#pragma once

#include "plof/abi.h"

namespace plof::host {

// Offers `record` under `name`, replacing an earlier one; null withdraws it.
void provideService(const char *name, void *record);

// The record offered under `name`, or null.
void *findService(const char *name);

// The function the host hands to activations: (name, 0) -> record or null.
PlofGlobalFunc globalServiceFunction();

}  // namespace plof::host
