// Vectors of three doubles (x, y, z), the module's positions, velocities and
// axes, and copying runs of doubles between the module's records and the
// host's.
#pragma once

#include <array>
#include <cstddef>

namespace plof {

using Vec3 = std::array<double, 3>;

// Copies n doubles from source to destination in index order. The two ranges
// may be the same but must not otherwise overlap.
inline void copyDoubles(double *destination, const double *source, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) destination[i] = source[i];
}

}  // namespace plof
