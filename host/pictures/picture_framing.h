// The part of a scene that the host's pictures of an effect frame: a box
// around the played positions of the whole range that a few far outliers do
// not stretch, so that they cannot shrink the effect to a dot.
//
// Positions are sampled evenly (at most about a quarter of a million kept,
// so memory stays small however long the range); the box spans, on each
// axis, the 1st to the 99th percentile of the samples (all of them when
// there are few), grown to hold every item's pivot, and padded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "host/pictures/picture_camera.h"

namespace plof::host {

class FramingSampler {
public:
    // `expectedPositions`: about how many positions will be added in all.
    explicit FramingSampler(double expectedPositions);

    // Positions (x, y, z each) that the picture will show.
    void addPositions(std::span<const double> xyz);
    // A place the box must hold whatever the percentiles say (a pivot).
    void include(const Vec3 &place);

    // The padded box; a unit box around the origin when nothing was added.
    Box box() const;

private:
    std::size_t stride_;
    std::size_t seen_ = 0;
    std::vector<float> samples_[3];
    bool hasPlaces_ = false;
    Box places_;
};

}  // namespace plof::host
