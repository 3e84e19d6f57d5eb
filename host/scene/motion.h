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
#include <string>
#include <string_view>
#include <vector>

#include "host/scene/item_pose.h"

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

    bool operator==(const MotionKey &) const = default;
};

// The largest magnitude a channel may take anywhere along its keys, and the
// largest an item's world position or scale may take under its parents: far
// beyond any scene, and small enough that the product of two such values (a
// scale times a position, a squared length) stays finite.
inline constexpr double kLargestChannelValue = 1e150;

// The motion channels' names, in channel order, for messages.
extern const std::string_view kMotionChannelNames[kMotionChannels];

// Sorts keys by frame, keeping the file order of keys on the same frame.
void sortKeys(std::vector<MotionKey> &keys);

// The value of `channel` at `frame` (fractional frames allowed). The keys are
// sorted by frame and not empty.
double interpolateChannel(std::span<const MotionKey> keys, int channel, double frame);

// The item's own pose from its motion keys at `frame`; no keys gives the rest pose.
ItemPose poseFromMotion(std::span<const MotionKey> keys, double frame);

// A bound on |value| of `channel` at every frame: the keys' values and the
// most the spline overshoots between them (the channel's rest value for no
// keys). Infinite when interpolating the keys overflows. Keys sorted.
double channelReach(std::span<const MotionKey> keys, int channel);

// Where interpolating the sorted `keys` takes a channel beyond
// kLargestChannelValue, for a message ("between the keys at frames 0 and
// 10, position X goes beyond 1e+150 ..."): the channels are the first
// channelNames.size() ones, named so. Empty when no channel goes beyond.
std::string channelOverflow(std::span<const MotionKey> keys, std::span<const std::string_view> channelNames);

// True when every key holds the same position, rotation and scale (a
// motion that never moves; no keys counts as still).
bool isStill(std::span<const MotionKey> keys);

}  // namespace plof::host
