#include "sim/emission_schedule.h"

#include <algorithm>

namespace plof {

int64_t period(int32_t pointCount, int32_t birth) { return int64_t{pointCount} * kFramesPerSecond / birth; }

int64_t emissionOffset(int32_t index, int32_t birth) { return int64_t{index} * kFramesPerSecond / birth; }

int64_t emissionCycle(int32_t frame, int32_t startFrame, int64_t offset, int64_t period, int32_t reCycle) {
    if (reCycle != 1) return 0;
    return (int64_t{frame} - startFrame - offset) / std::max<int64_t>(period, 1);
}

int64_t birthFrame(int32_t startFrame, int64_t offset, int64_t period, int64_t cycle) {
    return startFrame + offset + period * cycle;
}

double birthTime(int32_t startFrame, int64_t period, int64_t cycle, int32_t index, int32_t birth) {
    return static_cast<double>(startFrame + period * cycle) / kFramesPerSecond + static_cast<double>(index) / birth;
}

}  // namespace plof
