// Motion keys as one line of text, the form of plof-host's --motion and of
// the studio's motion editor: "f:x,y,z:h,p,b;f:x,y,z:h,p,b;..." (frame,
// position, heading, pitch and bank in degrees; the rotation may be left
// out), each key linear (a straight line into it from the key before) and
// of scale 1. Numbers are written in shortest round-trip form, so a text
// read back gives the same keys.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/scene/motion.h"

namespace plof::host {

inline constexpr std::string_view kMotionTextForm = "f:x,y,z:h,p,b;f:x,y,z:h,p,b";

struct MotionText {
    enum class Problem {
        None,
        NoKeys,    // the text holds no key
        BadKey,    // `detail` is the key that does not follow the form
        Overflow,  // `detail` says where a channel goes beyond kLargestChannelValue
    };
    std::vector<MotionKey> keys;  // sorted by frame; valid when `problem` is None
    Problem problem = Problem::None;
    std::string detail;
};

MotionText readMotionText(std::string_view text);

// The keys' frames, positions and rotations in the form above (their
// scale, spline values and linear flags are not part of it).
std::string motionText(std::span<const MotionKey> keys);

}  // namespace plof::host
