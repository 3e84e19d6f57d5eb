// Copying runs of doubles (vectors, positions) between the module's records
// and the host's: used by the update and by the displacement.
#pragma once

#include <cstddef>

namespace plof {

// Copies n doubles from source to destination in index order. The two ranges
// may be the same but must not otherwise overlap.
inline void copyDoubles(double *destination, const double *source, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) destination[i] = source[i];
}

}  // namespace plof
