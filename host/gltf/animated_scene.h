// What an export holds: nodes sampled at every played frame, ready to be
// written as one glTF animation.
//
// Every node is sampled at the same frames, firstFrame .. firstFrame +
// frameCount − 1; frame f plays at f / fps seconds. Values are float32 in
// glTF's axes (gltf_transform.h). A node that is hidden at a frame has scale
// 0 there.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "host/base/frame_rate.h"

namespace plof::host {

// The node's scale from `frameIndex` on, until the next key.
struct ScaleKey {
    int32_t frameIndex = 0;
    std::array<float, 3> scale{1.0F, 1.0F, 1.0F};
};

struct AnimatedNode {
    std::string name;
    bool hasMarker = true;            // carries the shared marker mesh (a null does not)
    std::vector<float> translations;  // x, y, z per frame
    std::vector<float> rotations;     // x, y, z, w per frame; empty: the node does not turn
    std::vector<ScaleKey> scales;     // where the scale changes; the first at frame index 0
};

struct AnimatedScene {
    int32_t firstFrame = 0;
    int32_t frameCount = 1;
    double fps = kDefaultFrameRate;
    float markerSize = 0.1F;  // the marker's diameter, scene units
    std::vector<AnimatedNode> nodes;

    // Counted so that a range ending at the last 32-bit frame does not overflow.
    int32_t lastFrame() const { return firstFrame + (frameCount - 1); }
};

}  // namespace plof::host
