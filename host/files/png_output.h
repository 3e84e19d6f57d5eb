// Writing a cairo image surface as a PNG file through OutputFile, so that a
// picture that cannot be written leaves the old file as it was. Only in
// builds with cairo (the *_cairo.cpp files).
#pragma once

#include <cairo.h>

#include <string>

namespace plof::host {

// Encodes `surface` as PNG into `path`. Throws OutputError naming the file
// and the reason (cairo's, or the system's).
void writePngFile(cairo_surface_t *surface, const std::string &path);

}  // namespace plof::host
