#include "host/pictures/picture_framing.h"

#include <algorithm>
#include <cmath>

namespace plof::host {

namespace {

constexpr double kMostSamples = 1 << 18;
constexpr double kOutlierFraction = 0.01;  // cut at each end of each axis
constexpr std::size_t kFewSamples = 200;   // below this, every sample counts
constexpr double kPadding = 0.05;          // of the box's largest side, on every side
constexpr double kFlattest = 0.1;          // no side thinner than this of the largest

double quantile(std::vector<float> values, double q) {
    const auto at = static_cast<std::ptrdiff_t>(std::floor(q * static_cast<double>(values.size() - 1)));
    std::nth_element(values.begin(), values.begin() + at, values.end());
    return static_cast<double>(values[static_cast<std::size_t>(at)]);
}

}  // namespace

FramingSampler::FramingSampler(double expectedPositions)
    : stride_(static_cast<std::size_t>(std::max(1.0, std::ceil(expectedPositions / kMostSamples)))) {}

void FramingSampler::addPositions(std::span<const double> xyz) {
    for (std::size_t i = 0; i + 2 < xyz.size(); i += 3) {
        if (seen_++ % stride_ != 0) continue;
        if (!(std::isfinite(xyz[i]) && std::isfinite(xyz[i + 1]) && std::isfinite(xyz[i + 2]))) continue;
        for (int c = 0; c < 3; ++c) samples_[c].push_back(static_cast<float>(xyz[i + c]));
    }
}

void FramingSampler::include(const Vec3 &place) {
    if (!(std::isfinite(place[0]) && std::isfinite(place[1]) && std::isfinite(place[2]))) return;
    for (int c = 0; c < 3; ++c) {
        places_.min[c] = hasPlaces_ ? std::min(places_.min[c], place[c]) : place[c];
        places_.max[c] = hasPlaces_ ? std::max(places_.max[c], place[c]) : place[c];
    }
    hasPlaces_ = true;
}

Box FramingSampler::box() const {
    const std::size_t count = samples_[0].size();
    if (count == 0 && !hasPlaces_) return Box{{-1, -1, -1}, {1, 1, 1}};
    Box box = places_;
    for (int c = 0; c < 3; ++c) {
        if (count == 0) continue;
        const bool few = count < kFewSamples;
        const double low = few ? static_cast<double>(*std::min_element(samples_[c].begin(), samples_[c].end()))
                               : quantile(samples_[c], kOutlierFraction);
        const double high = few ? static_cast<double>(*std::max_element(samples_[c].begin(), samples_[c].end()))
                                : quantile(samples_[c], 1.0 - kOutlierFraction);
        box.min[c] = hasPlaces_ ? std::min(box.min[c], low) : low;
        box.max[c] = hasPlaces_ ? std::max(box.max[c], high) : high;
    }
    double largest = 0.0;
    for (int c = 0; c < 3; ++c) largest = std::max(largest, box.max[c] - box.min[c]);
    if (largest <= 0.0) largest = 2.0;  // one point: a box two units wide around it
    for (int c = 0; c < 3; ++c) {
        const double grow = std::max(0.0, kFlattest * largest - (box.max[c] - box.min[c])) / 2.0;
        box.min[c] -= grow + kPadding * largest;
        box.max[c] += grow + kPadding * largest;
    }
    return box;
}

}  // namespace plof::host
