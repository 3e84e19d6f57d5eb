#include "host/base/work_memory.h"

#include "host/base/physical_memory.h"

namespace plof::host {

std::string memoryShortfall(uint64_t points, int64_t frames, WorkCost cost, const std::string &purpose) {
    const double needed = static_cast<double>(points) * (cost.perPoint + cost.perSample * static_cast<double>(frames));
    const uint64_t memory = physicalMemoryBytes();
    if (memory == 0 || needed <= static_cast<double>(memory)) return "";
    return std::to_string(points) + " points x " + std::to_string(frames) + " frames need about " +
           std::to_string(static_cast<int64_t>(needed / 1048576.0)) + " MiB to " + purpose + ", more than this " +
           "machine's " + std::to_string(memory >> 20) + " MiB";
}

}  // namespace plof::host
