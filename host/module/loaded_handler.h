// The module's displacement handler as the host holds it: the operation
// table filled by activating the `DisplacementHandler` server with interface
// version 1 or 2, and the calls into it with the arguments that version takes
// (version 1 creates and copies without an item and has no description).
#pragma once

#include <string>
#include <vector>

#include "host/module/module_loader.h"
#include "plof/handler.h"

namespace plof::host {

class EffectHandler {
public:
    // Activates the DisplacementHandler server named "PLOF!" of the module
    // whose descriptor is given (`modulePath` names it in errors). The host's
    // services must be provided first. Throws ModuleError naming the module
    // file when the server is missing or activation answers non-zero.
    EffectHandler(const PlofModuleDescriptor &descriptor, const std::string &modulePath, int interfaceVersion);
    EffectHandler(const LoadedModule &module, int interfaceVersion)
        : EffectHandler(module.descriptor(), module.path(), interfaceVersion) {}

    const PlofHandlerOperations &operations() const { return operations_; }

    // A new instance for `item`; throws ModuleError with the module's error
    // text when creation fails.
    PlofInstance create(PlofItemId item) const;
    void destroy(PlofInstance instance) const;
    // Copies `from` into `to` (which belongs to `item`); the module's error text or "".
    std::string copy(PlofInstance from, PlofInstance to, PlofItemId item) const;
    // Hands the instance its saved lines (the host warns about lines too long
    // for the module's buffer when it reads them, with their file and line).
    void load(PlofInstance instance, const std::vector<std::string> &lines) const;
    std::vector<std::string> save(PlofInstance instance) const;
    // The instance's description line ("" with interface version 1).
    std::string describe(PlofInstance instance) const;

private:
    std::string modulePath_;
    int version_;
    PlofHandlerOperations operations_{};
};

}  // namespace plof::host
