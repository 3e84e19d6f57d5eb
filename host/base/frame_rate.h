// The frames the host plays a scene at, and the rates: frame f is shown at
// time f / rate seconds.
#pragma once

#include <cstdint>

namespace plof::host {

// The frames a scene plays, first to last inclusive (first <= last); by
// default those of a scene that names none.
struct FrameRange {
    int32_t first = 0;
    int32_t last = 59;
};

// A scene's rate when it names none (no FramesPerSecond line, no --fps).
inline constexpr double kDefaultFrameRate = 30.0;

// The rates the host takes: within them, f / rate stays a time the effect
// computes with for every 32-bit frame f.
inline constexpr double kLowestFrameRate = 0.001;
inline constexpr double kHighestFrameRate = 1000.0;

}  // namespace plof::host
