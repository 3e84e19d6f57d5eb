// The WebAssembly build links the module into the program: its "library" is
// the module's code already there, and its descriptor is found by the name
// plof.p exports it under, as the other platforms find it in the file.
#include <cstring>

#include "host/module/module_loader.h"

extern "C" const PlofModuleDescriptor _mod_descrip;

namespace plof::host {

bool moduleBuiltIn() { return true; }

namespace platform {

namespace {

// Any address serves as the handle of the one built-in library.
char gBuiltInLibrary;
bool gLoaded = false;

}  // namespace

void *openLibrary(const std::string &, std::string &error) {
    // The module's state (its random generator, the host's service records)
    // lives in this instance's memory: unloading cannot start it afresh as it
    // does a module file, so a second load in one instance is refused rather
    // than handed a used module.
    if (gLoaded) {
        error = "the module built into this program has been loaded once already; a fresh module needs a new instance";
        return nullptr;
    }
    gLoaded = true;
    return &gBuiltInLibrary;
}

void *findSymbol(void *, const char *name) {
    return std::strcmp(name, PLOF_DESCRIPTOR_SYMBOL) == 0 ? const_cast<PlofModuleDescriptor *>(&_mod_descrip) : nullptr;
}

void closeLibrary(void *) {}

}  // namespace platform
}  // namespace plof::host
