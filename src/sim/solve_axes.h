// The coordinate solve that turns a world-space place into an item's own
// coordinates, given the item's axes. Called by the update once per particle.
#pragma once

#include "sim/particle.h"

namespace plof {

// Writes to out the r with r.x*a + r.y*b + r.z*c = -d, that is -M^-1 * d for
// the matrix M whose columns are a, b and c, by cofactors (Cramer's rule).
// The axes need not be orthonormal. The determinant is not tested: degenerate
// axes give non-finite results; moduleState().solve.determinant holds the
// determinant of the latest call for callers that need to tell. The working
// values live in moduleState().solve, so the solve is not re-entrant; out may
// alias any of the arguments.
void solveAxes(const Vec3 &a, const Vec3 &b, const Vec3 &c, const Vec3 &d, Vec3 &out);

}  // namespace plof
