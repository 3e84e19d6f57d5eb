#include <dlfcn.h>

#include "host/module/module_loader.h"

namespace plof::host {

bool moduleBuiltIn() { return false; }

namespace platform {

void *openLibrary(const std::string &path, std::string &error) {
    // A name without a slash would be searched for on the library path;
    // the host loads exactly the file it was given.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void *library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char *reason = dlerror();
        error = reason ? reason : "unknown error";
    }
    return library;
}

void *findSymbol(void *library, const char *name) { return dlsym(library, name); }

void closeLibrary(void *library) {
    if (library) {
        dlclose(library);
    }
}

}  // namespace platform
}  // namespace plof::host
