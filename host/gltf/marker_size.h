// The default size of the marker an export's points carry: big enough to see
// at the scale of the whole effect, small enough not to merge.
#pragma once

#include <vector>

namespace plof::host {

// The marker's diameter for points x, y, z, ... (every visible node at every
// frame): a hundredth of the diagonal of the box that holds all but the
// outermost 2 % of them along each axis, so a few far-flung points do not
// shrink the markers of the rest; 0.1 when that box is a single place (or
// there are no points).
float defaultMarkerSize(std::vector<float> points);

}  // namespace plof::host
