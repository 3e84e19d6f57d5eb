// The binary answers about frames A..B of a play, for a page to draw them
// without parsing text: for each frame in order, for each item in scene
// order,
//   positions (GET /api/frames): each point's x, y, z as float32
//     little-endian (an item without points: its pivot), 12 bytes a point;
//   looks (GET /api/looks): each point's PointLook as one byte (0 in
//     flight, 1 at rest, 2 a point of an item without the effect, 3 hidden);
//   poses (GET /api/poses): the item's pivot and its X, Y and Z axes in
//     world space, 12 float32, 48 bytes.
// Coordinates are the host's left-handed ones. Each throws BadRequest for
// frames outside the play's range.
#pragma once

#include <cstdint>
#include <string>

#include "host/run/playback_inputs.h"
#include "host/studio/studio_play.h"

namespace plof::host::studio {

std::string framePositions(const StudioPlay &play, FrameRange range, int32_t first, int32_t last);
std::string frameLooks(const StudioPlay &play, FrameRange range, int32_t first, int32_t last);
std::string framePoses(const PlaybackInputs &scene, int32_t first, int32_t last);

}  // namespace plof::host::studio
