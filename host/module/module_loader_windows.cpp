#include <windows.h>

#include "host/module/module_loader.h"

namespace plof::host {

bool moduleBuiltIn() { return false; }

namespace platform {

void *openLibrary(const std::string &path, std::string &error) {
    HMODULE library = LoadLibraryA(path.c_str());
    if (!library) {
        char text[512] = {};
        const DWORD code = GetLastError();
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                       nullptr);
        error = text[0] ? text : "Windows error " + std::to_string(code);
        while (!error.empty() && (error.back() == '\n' || error.back() == '\r')) {
            error.pop_back();
        }
    }
    return reinterpret_cast<void *>(library);
}

void *findSymbol(void *library, const char *name) {
    return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void closeLibrary(void *library) {
    if (library) {
        FreeLibrary(static_cast<HMODULE>(library));
    }
}

}  // namespace platform
}  // namespace plof::host
