// Whether a run of points x frames fits the machine's memory, estimated
// before anything is played, so that a command or the studio refuses up
// front what would exhaust it.
#pragma once

#include <cstdint>
#include <string>

namespace plof::host {

// The memory a run takes: so much per point, so much more per point and frame.
struct WorkCost {
    double perPoint;
    double perSample;
};

// "" when `points` x `frames` at `cost` fit the machine's memory (or the
// system does not say how much it has); else "N points x F frames need
// about X MiB to PURPOSE, more than this machine's M MiB".
std::string memoryShortfall(uint64_t points, int64_t frames, WorkCost cost, const std::string &purpose);

}  // namespace plof::host
