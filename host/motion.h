// Key-framed channels: an item's motion (nine channels) and its dissolve
// envelope (one channel), as the host's scene stores them.
//
// Between two keys a channel follows a Kochanek–Bartels (TCB) spline made
// with the keys' tension, continuity and bias, or a straight line when the
// later key of the pair has its linear flag set. Tangents are scaled for
// unevenly spaced keys (2·Δ / (Δ_before + Δ), the classic adjustment), and at
// the first and last key the missing neighbour difference is taken equal to
// the one that exists, so two keys with zero TCB give a straight line. Before
// the first key and after the last one the values hold.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "host/item_pose.h"

namespace plof::host {

// Channel order of a motion key.
enum MotionChannel { kX, kY, kZ, kHeading, kPitch, kBank, kScaleX, kScaleY, kScaleZ };
inline constexpr int kMotionChannels = 9;

struct MotionKey {
    std::array<double, kMotionChannels> values{0, 0, 0, 0, 0, 0, 1, 1, 1};
    int32_t frame = 0;
    int32_t linear = 0;
    double tension = 0.0;
    double continuity = 0.0;
    double bias = 0.0;
};

// Sorts keys by frame, keeping the file order of keys on the same frame.
void sortKeys(std::vector<MotionKey> &keys);

// The value of `channel` at `frame` (fractional frames allowed). The keys are
// sorted by frame and not empty.
double interpolateChannel(std::span<const MotionKey> keys, int channel, double frame);

// The item's own pose from its motion keys at `frame`; no keys gives the rest pose.
ItemPose poseFromMotion(std::span<const MotionKey> keys, double frame);

// True when every key holds the same position, rotation and scale (a
// motion that never moves; no keys counts as still).
bool isStill(std::span<const MotionKey> keys);

}  // namespace plof::host
