// The points of an object, whatever its source: an object file (LWOB, LWO2
// or Wavefront OBJ, told apart by their contents) or a built-in shape.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plof::host {

// The points of `source`: a built-in shape name or an object file path.
std::vector<float> loadObjectPoints(const std::string &source);

// The name the host gives an item loaded from `source`: a file's name without
// directory and extension, or the built-in shape's kind ("grid").
std::string objectItemName(std::string_view source);

}  // namespace plof::host
