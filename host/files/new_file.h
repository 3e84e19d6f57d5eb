// What safe output needs of the platform: creating a file that must not exist
// yet, and making a written file reach the disk. One file per platform.
#pragma once

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace plof::host::platform {

// Opens `path` for binary writing, failing with std::errc::file_exists when
// it exists already. When `modeOf` names an existing file, the new file gets
// its permissions. Null with `error` set on failure.
std::FILE *createNewFile(const std::filesystem::path &path, const std::filesystem::path &modeOf,
                         std::error_code &error);

// Flushes `file` and asks the system to put its bytes on the disk; false with
// `error` set when either fails (a full disk can show only here).
bool flushToDisk(std::FILE *file, std::error_code &error);

}  // namespace plof::host::platform
