// How the host shows a played point at a frame, from what it observes: a
// point of an item with the effect in flight or at rest (RestingPlaces
// tells), a point of an item without the effect, or nothing while the
// point's item is wholly dissolved. Pictures and the studio's page draw
// each look alike: bright in its item's colour, dim, light blue, not at all.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/play/resting_places.h"

namespace plof::host {

enum class PointLook : uint8_t { Flying = 0, Resting = 1, Other = 2, Hidden = 3 };

// The look of point `point`, placed at `world` (x, y, z), of an item whose
// resting places are `resting` (null: the item does not carry the effect),
// set to the frame; `shown`: the item is not wholly dissolved at the frame.
PointLook pointLook(const RestingPlaces *resting, bool shown, std::size_t point, const double *world);

}  // namespace plof::host
