// Object geometry for the stand-in host: the points of an object file or of a
// built-in shape, as single-precision x, y, z triples in point order. Every
// failure to read them throws InputError naming the file (or shape) and the
// fault. object_file.h reads any source; the readers of each kind beside it.
#pragma once

#include <cstddef>

namespace plof::host {

// The most points an object may have (the host counts points in 32 bits and
// the effect keeps a record per point).
inline constexpr std::size_t kMaxObjectPoints = 16'000'000;

}  // namespace plof::host
