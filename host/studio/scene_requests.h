// The parts of the scene a client may change besides the settings, read
// from their requests: an item's object (PUT /api/items/N/object
// {"object": name}), its motion keys (PUT /api/items/N/motion {"keys":
// "f:x,y,z:h,p,b;..."}, "" for none) and the frame range and rate (PUT
// /api/range {"from", "to", "fps"}, each optional). Each throws BadRequest
// naming the field and what it takes, in the page's words.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/base/frame_rate.h"
#include "host/scene/motion.h"

namespace plof::host::studio {

std::string objectRequest(const nlohmann::json &request);

// Linear keys, sorted; none for "".
std::vector<MotionKey> motionRequest(const nlohmann::json &request);

// `frames` and `fps` with the request's values put in.
void rangeRequest(const nlohmann::json &request, FrameRange &frames, double &fps);

}  // namespace plof::host::studio
