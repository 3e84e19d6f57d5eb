// The coordinate solve that turns a world-space place into an item's own
// coordinates, given the item's axes. Called by the placing of particles
// once per particle.
#pragma once

#include "base/vec3.h"

namespace plof {

// Writes to out the r with r.x*a + r.y*b + r.z*c = -d, that is -M^-1 * d for
// the matrix M whose columns are a, b and c, by cofactors (Cramer's rule),
// and returns the determinant of M. The axes need not be orthonormal. The
// determinant is not tested: degenerate axes give non-finite results, and a
// caller that needs to tell reads the determinant returned. out may alias
// any of the arguments.
double solveAxes(const Vec3 &a, const Vec3 &b, const Vec3 &c, const Vec3 &d, Vec3 &out);

}  // namespace plof
