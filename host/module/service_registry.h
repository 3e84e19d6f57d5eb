// The services the stand-in host offers to the module, by name.
//
// The module asks for a service through the global-service function, a plain
// C function pointer with no user data, so it is answered from the registry
// of the installed context (host/base/host_context.h): host parts provide
// their records there. Records are not owned; whoever provides one keeps it
// alive while it is provided.
#pragma once

#include <map>
#include <string>

#include "plof/abi.h"

namespace plof::host {

class ServiceRegistry {
public:
    // Offers `record` under `name`, replacing an earlier one; null withdraws it.
    void provide(const char *name, void *record);
    // The record offered under `name`, or null.
    void *find(const char *name) const;

private:
    std::map<std::string, void *, std::less<>> records_;
};

// provide() on the installed context's registry; throws std::logic_error
// when no context is installed.
void provideService(const char *name, void *record);

// find() on the installed context's registry; null without one.
void *findService(const char *name);

// The function the host hands to activations: (name, 0) -> record or null.
PlofGlobalFunc globalServiceFunction();

}  // namespace plof::host
