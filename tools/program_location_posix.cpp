#include <filesystem>

#include "program_location.h"

namespace plof::tools {

std::string executableDirectory() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

}  // namespace plof::tools
