// The order of an object's points, which the effect's births follow.
#pragma once

#include <cstdint>
#include <vector>

namespace plof::host {

// Reorders the points (x, y, z each) as a modeller's point reordering would:
// a shuffle fixed by `seed`, the same on every build.
void shufflePoints(std::vector<float> &points, uint64_t seed);

}  // namespace plof::host
