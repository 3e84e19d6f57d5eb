// Built-in shapes, named "builtin:KIND:SIZE" where an object file would be,
// so that a scene or a command needs no file to have points.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plof::host {

// Every built-in shape as it is written: "builtin:grid:WxH", "builtin:line:N",
// "builtin:sphere:N", "builtin:box:N" (the sizes to be filled in).
std::span<const std::string_view> builtinShapeForms();

// True when `source` names a built-in shape ("builtin:...").
bool isBuiltinShape(std::string_view source);

// The points of a built-in shape:
//   builtin:grid:WxH   W × H points one unit apart on the XZ plane, centred
//                      on the origin, row by row along X
//   builtin:line:N     N points one unit apart along +X from the origin
//   builtin:sphere:N   N points spread evenly over the unit sphere
//   builtin:box:N      N points spread through the cube of side 1 centred on
//                      the origin (a Halton sequence: the same every run)
std::vector<float> builtinShapePoints(std::string_view source);

// The built-in shape a bare name such as "sphere" (or "sphere.lwo") means,
// as "builtin:sphere:N"; "" when it names none.
std::string builtinShapeFor(std::string_view name);

}  // namespace plof::host
