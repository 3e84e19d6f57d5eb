// The points of a Wavefront OBJ file: its `v` lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plof::host {

// The points of a Wavefront OBJ file's text; `fileName` names it in errors.
std::vector<float> parseWavefrontObject(std::string_view text, const std::string &fileName);

}  // namespace plof::host
