// The points of an object, whatever its source: an object file (LWOB, LWO2
// or Wavefront OBJ, told apart by their contents) or a built-in shape.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plof::host {

// The points of `source`: a built-in shape name or an object file path.
std::vector<float> loadObjectPoints(const std::string &source);

// Whether the host reads a file of this name as an object by its name
// (".lwo", ".lw", ".obj"), for lists of the objects on offer; an LWOB or
// LWO2 file of another name is read by its contents all the same.
bool isObjectFileName(std::string_view path);

// The name the host gives an item loaded from `source`: a file's name without
// directory and extension, or the built-in shape's kind ("grid").
std::string objectItemName(std::string_view source);

}  // namespace plof::host
