// Object geometry for the stand-in host: the points of an object file or of a
// built-in shape, as single-precision x, y, z triples in point order.
//
// Files: LWOB and LWO2 (an IFF FORM; points from every PNTS chunk in file
// order, big-endian floats), Wavefront OBJ (the `v` lines). Built-in shapes
// are named "builtin:grid:WxH", "builtin:line:N" and "builtin:sphere:N".
// Every failure throws InputError naming the file (or shape) and the fault.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plof::host {

// The most points an object may have (the host counts points in 32 bits and
// the effect keeps a record per point).
inline constexpr std::size_t kMaxObjectPoints = 16'000'000;

// The points of `source`: a built-in shape name or an object file path.
std::vector<float> loadObjectPoints(const std::string &source);

// The points of an LWOB or LWO2 file's bytes; `fileName` names it in errors.
std::vector<float> parseLightWaveObject(std::string_view bytes, const std::string &fileName);

// The points of a Wavefront OBJ file's text; `fileName` names it in errors.
std::vector<float> parseWavefrontObject(std::string_view text, const std::string &fileName);

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

// Reorders the points (x, y, z each) as a modeller's point reordering would:
// a shuffle fixed by `seed`, the same on every build.
void shufflePoints(std::vector<float> &points, uint64_t seed);

// The name the host gives an item loaded from `source`: a file's name without
// directory and extension, or the built-in shape's kind ("grid").
std::string objectItemName(std::string_view source);

}  // namespace plof::host
