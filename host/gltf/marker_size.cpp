#include "host/gltf/marker_size.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace plof::host {

float defaultMarkerSize(std::vector<float> points) {
    constexpr double kTail = 0.02;
    constexpr double kShare = 0.01;
    constexpr float kSingularSize = 0.1F;
    const std::size_t count = points.size() / 3;
    if (count == 0) return kSingularSize;
    std::vector<float> axis(count);
    const auto low = static_cast<std::ptrdiff_t>(std::floor(kTail * static_cast<double>(count - 1)));
    const auto high = static_cast<std::ptrdiff_t>(std::ceil((1.0 - kTail) * static_cast<double>(count - 1)));
    double diagonal = 0.0;
    for (std::size_t c = 0; c < 3; ++c) {
        for (std::size_t i = 0; i < count; ++i) axis[i] = points[i * 3 + c];
        std::nth_element(axis.begin(), axis.begin() + low, axis.end());
        const auto lowValue = static_cast<double>(axis[static_cast<std::size_t>(low)]);
        std::nth_element(axis.begin(), axis.begin() + high, axis.end());
        const double extent = static_cast<double>(axis[static_cast<std::size_t>(high)]) - lowValue;
        diagonal += extent * extent;
    }
    diagonal = std::sqrt(diagonal);
    return diagonal > 0.0 && std::isfinite(diagonal) ? static_cast<float>(diagonal * kShare) : kSingularSize;
}

}  // namespace plof::host
