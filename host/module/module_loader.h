// Loading a module file as the host does: open the library, find the
// exported descriptor `_mod_descrip`, check its synchronisation word, version
// and machine code, call its start-up operation, and find servers by class.
//
// LoadedModule owns the open library: its destructor calls the module's
// shut-down operation with the value start-up returned, then unloads it.
// Anything the module handed out (servers, instances) must be released first.
#pragma once

#include <memory>
#include <string>

#include "plof/module.h"

namespace plof::host {

// The checks the host makes on a descriptor before it calls anything in it.
// Returns "" when the descriptor is acceptable, else a message naming `path`.
std::string checkDescriptor(const PlofModuleDescriptor &descriptor, const std::string &path);

// The activation of the first server of `className` in the list (and of
// `serverName` when it is not null), or null when the list has none.
PlofActivateFunc findServer(const PlofModuleDescriptor &descriptor, const char *className, const char *serverName);

class LoadedModule {
public:
    // Loads and starts the module at `path`. Throws ModuleError with a message
    // naming the file when it is missing, cannot be loaded, has no
    // descriptor, fails the checks or its start-up returns null.
    static std::unique_ptr<LoadedModule> open(const std::string &path);

    ~LoadedModule();
    LoadedModule(const LoadedModule &) = delete;
    LoadedModule &operator=(const LoadedModule &) = delete;

    const PlofModuleDescriptor &descriptor() const { return *descriptor_; }
    const std::string &path() const { return path_; }

private:
    LoadedModule(std::string path, void *library, const PlofModuleDescriptor *descriptor);

    std::string path_;
    void *library_;
    const PlofModuleDescriptor *descriptor_;
    void *serverData_ = nullptr;
};

// Whether this build carries the module inside itself (the WebAssembly build,
// which loads no module files): open() then starts the built-in module, and
// the path only names it in messages. One file per platform.
bool moduleBuiltIn();

// The platform's library calls, one file per platform.
namespace platform {
// Opens the library at `path`; null with `error` set when it cannot.
void *openLibrary(const std::string &path, std::string &error);
// The address of the exported symbol, or null.
void *findSymbol(void *library, const char *name);
void closeLibrary(void *library);
}  // namespace platform

}  // namespace plof::host
