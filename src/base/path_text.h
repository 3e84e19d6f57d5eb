// Paths as the panels build them: the platform's separator and bounded text.
//
// The host's directories and file names travel in fixed 256-byte buffers.
// These helpers never write past `capacity` and always leave the output
// NUL-terminated (capacity must be > 0). Where a text does not fit, each
// caller decides:
//  - the "*.plf" and "*.lwo" patterns on the buttons and the remembered
//    objectsDir are only hints for the next file dialog: they are cut;
//  - the suggested scene file name is a place the bake writes to: when the
//    whole path does not fit it is left empty, so that nothing is written
//    to a shortened, wrong path;
//  - a settings file name that has no room for ".plf" is refused (the save
//    reports that the file cannot be opened).
#pragma once

#include <cstddef>

namespace plof {

// Directories are joined with the separator of the platform the module runs
// on: the real host is Windows; the stand-in host also runs on POSIX.
#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Copies `text` (null counts as empty) into out, cut to capacity - 1
// characters. Returns true when the whole text fitted.
bool copyBounded(char *out, std::size_t capacity, const char *text);

// out := directory, the separator, fileName (directory null counts as empty),
// cut to capacity - 1 characters. Returns true when the whole path fitted.
bool joinPath(char *out, std::size_t capacity, const char *directory, const char *fileName);

}  // namespace plof
