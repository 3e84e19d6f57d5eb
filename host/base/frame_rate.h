// The frame rates the host plays scenes at: frame f is shown at time
// f / rate seconds.
#pragma once

namespace plof::host {

// A scene's rate when it names none (no FramesPerSecond line, no --fps).
inline constexpr double kDefaultFrameRate = 30.0;

// The rates the host takes: within them, f / rate stays a time the effect
// computes with for every 32-bit frame f.
inline constexpr double kLowestFrameRate = 0.001;
inline constexpr double kHighestFrameRate = 1000.0;

}  // namespace plof::host
