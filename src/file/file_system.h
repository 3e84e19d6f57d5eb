// What the safe file writer asks of the system, on paths as their callers
// give them (bytes, in the platform's code page on Windows). One file per
// platform: file_system_posix.cpp (the WebAssembly build's too) and
// file_system_windows.cpp. Nothing here throws.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <system_error>

namespace plof::file {

enum class FileKind : uint8_t { absent, regular, directory, link, other };

// What `path` names, a link not followed. `absent` is no error; anything
// else that stops the look sets `error`.
FileKind kindOf(const std::string &path, std::error_code &error) noexcept;

// The text of the link `path`; false with `error` set when it cannot be read.
bool readLink(const std::string &path, std::string &text, std::error_code &error);

// Whether `path` starts at a root rather than the folder it stands in.
bool isAbsolutePath(const std::string &path) noexcept;

// Where the last part of `path` (its file name) begins.
std::size_t fileNameStart(const std::string &path) noexcept;

// Opens `path` for writing, failing with std::errc::file_exists when it
// exists already. When `permissionsOf` names an existing file, the new one
// gets its permissions. Text mode writes the platform's line ends. Null with
// `error` set on failure.
std::FILE *createNewFile(const std::string &path, const std::string &permissionsOf, bool text,
                         std::error_code &error) noexcept;

// Opens an existing file that is not a regular one (a device, a FIFO) for
// writing; null with `error` set.
std::FILE *openExistingFile(const std::string &path, bool text, std::error_code &error) noexcept;

// Asks the system to put the written bytes of `file` on the disk (after a
// flush); false with `error` set when it cannot (a full disk may show only
// here). A file that cannot be synced, as a FIFO, is no failure.
bool syncToDisk(std::FILE *file, std::error_code &error) noexcept;

// Renames `from` over `to`, replacing a file there; false with `error` set.
bool replaceFile(const std::string &from, const std::string &to, std::error_code &error) noexcept;

void removeFile(const std::string &path) noexcept;

// This process's number, as the system shows it.
unsigned long processId() noexcept;

}  // namespace plof::file
