#include <windows.h>

#include <filesystem>

#include "program_location.h"

namespace plof::tools {

std::string executableDirectory() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return "";
    }
    return std::filesystem::path(path).parent_path().string();
}

}  // namespace plof::tools
