#include "host/scene/motion.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "host/base/number_text.h"

namespace plof::host {

void sortKeys(std::vector<MotionKey> &keys) {
    std::stable_sort(keys.begin(), keys.end(),
                     [](const MotionKey &a, const MotionKey &b) { return a.frame < b.frame; });
}

namespace {

// Where a frame falls among the keys: on one key's value (before the first,
// after the last, or a single key), or inside the segment from key `first`
// to key `first + 1` at fraction s.
struct KeyPlace {
    std::size_t first;
    bool inside;
    double s;
};

KeyPlace locate(std::span<const MotionKey> keys, double frame) {
    // A NaN frame (a time the module formed from broken settings) holds the
    // first key rather than reaching past the keys.
    if (keys.size() == 1 || !(frame > keys.front().frame)) {
        return {0, false, 0.0};
    }
    if (frame >= keys.back().frame) {
        return {keys.size() - 1, false, 0.0};
    }
    // k1.frame <= frame < k2.frame, so the segment is never empty.
    const auto after =
        std::upper_bound(keys.begin(), keys.end(), frame, [](double f, const MotionKey &k) { return f < k.frame; });
    const auto second = static_cast<std::size_t>(after - keys.begin());
    const MotionKey &k1 = keys[second - 1];
    const double span = static_cast<double>(after->frame) - k1.frame;
    return {second - 1, true, (frame - k1.frame) / span};
}

// The tangents of the spline from key i1 to key i1 + 1 (Kochanek–Bartels,
// scaled for uneven key spacing).
struct Tangents {
    double outgoing;
    double incoming;
};

Tangents tangents(std::span<const MotionKey> keys, std::size_t i1, int channel) {
    const std::size_t i2 = i1 + 1;
    const MotionKey &k1 = keys[i1];
    const MotionKey &k2 = keys[i2];
    const double v1 = k1.values[channel];
    const double v2 = k2.values[channel];
    const double span = static_cast<double>(k2.frame) - k1.frame;
    const double d21 = v2 - v1;
    double d10 = d21, spanBefore = span;
    if (i1 > 0) {
        d10 = v1 - keys[i1 - 1].values[channel];
        spanBefore = static_cast<double>(k1.frame) - keys[i1 - 1].frame;
    }
    double d32 = d21, spanAfter = span;
    if (i2 + 1 < keys.size()) {
        d32 = keys[i2 + 1].values[channel] - v2;
        spanAfter = static_cast<double>(keys[i2 + 1].frame) - k2.frame;
    }

    const double t1 = k1.tension, c1 = k1.continuity, b1 = k1.bias;
    const double outgoing = (1.0 - t1) * ((1.0 + c1) * (1.0 + b1) / 2.0 * d10 + (1.0 - c1) * (1.0 - b1) / 2.0 * d21) *
                            (2.0 * span / (spanBefore + span));
    const double t2 = k2.tension, c2 = k2.continuity, b2 = k2.bias;
    const double incoming = (1.0 - t2) * ((1.0 - c2) * (1.0 + b2) / 2.0 * d21 + (1.0 + c2) * (1.0 - b2) / 2.0 * d32) *
                            (2.0 * span / (span + spanAfter));
    return {outgoing, incoming};
}

double channelValue(std::span<const MotionKey> keys, const KeyPlace &place, int channel) {
    const std::size_t i1 = place.first;
    if (!place.inside) {
        return keys[i1].values[channel];
    }
    const double v1 = keys[i1].values[channel];
    const double v2 = keys[i1 + 1].values[channel];
    const double s = place.s;
    if (keys[i1 + 1].linear == 1) {
        return v1 + (v2 - v1) * s;
    }
    const Tangents t = tangents(keys, i1, channel);
    const double s2 = s * s, s3 = s2 * s;
    const double h1 = 2.0 * s3 - 3.0 * s2 + 1.0;
    const double h2 = -2.0 * s3 + 3.0 * s2;
    const double h3 = s3 - 2.0 * s2 + s;
    const double h4 = s3 - s2;
    return h1 * v1 + h2 * v2 + h3 * t.outgoing + h4 * t.incoming;
}

// A bound on |value| of `channel` from key i1 to the next (the key alone
// when it is the last); infinite or NaN when interpolating there overflows.
double segmentReach(std::span<const MotionKey> keys, std::size_t i1, int channel) {
    const double v1 = keys[i1].values[channel];
    if (i1 + 1 == keys.size()) {
        return std::fabs(v1);
    }
    const MotionKey &k2 = keys[i1 + 1];
    const double v2 = k2.values[channel];
    const double ends = std::max(std::fabs(v1), std::fabs(v2));
    if (k2.frame == keys[i1].frame) {
        return ends;  // never interpolated: a frame lands on one of them
    }
    if (k2.linear == 1) {
        return std::isfinite(v2 - v1) ? ends : std::numeric_limits<double>::infinity();
    }
    // On [0, 1] the weights h1 and h2 of the key values lie in [0, 1] and sum
    // to 1; those of the tangents, h3 and h4, stay within 4/27.
    const Tangents t = tangents(keys, i1, channel);
    return ends + 4.0 / 27.0 * (std::fabs(t.outgoing) + std::fabs(t.incoming));
}

}  // namespace

double interpolateChannel(std::span<const MotionKey> keys, int channel, double frame) {
    return channelValue(keys, locate(keys, frame), channel);
}

ItemPose poseFromMotion(std::span<const MotionKey> keys, double frame) {
    ItemPose pose;
    if (keys.empty()) {
        return pose;
    }
    // One search for the segment serves all nine channels.
    const KeyPlace place = locate(keys, frame);
    std::array<double, kMotionChannels> v;
    for (int c = 0; c < kMotionChannels; ++c) {
        v[c] = channelValue(keys, place, c);
    }
    pose.position = {v[kX], v[kY], v[kZ]};
    pose.axes = axesFromHpb(v[kHeading], v[kPitch], v[kBank]);
    pose.scale = {v[kScaleX], v[kScaleY], v[kScaleZ]};
    return pose;
}

bool isStill(std::span<const MotionKey> keys) {
    return std::all_of(keys.begin(), keys.end(), [&](const MotionKey &k) { return k.values == keys.front().values; });
}

const std::string_view kMotionChannelNames[kMotionChannels] = {
    "position X", "position Y", "position Z", "heading", "pitch", "bank", "scale X", "scale Y", "scale Z"};

double channelReach(std::span<const MotionKey> keys, int channel) {
    if (keys.empty()) {
        return std::fabs(MotionKey{}.values[channel]);
    }
    double reach = 0.0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const double segment = segmentReach(keys, i, channel);
        if (std::isnan(segment)) {
            return std::numeric_limits<double>::infinity();
        }
        reach = std::max(reach, segment);
    }
    return reach;
}

std::string channelOverflow(std::span<const MotionKey> keys, std::span<const std::string_view> channelNames) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        for (std::size_t c = 0; c < channelNames.size(); ++c) {
            if (segmentReach(keys, i, static_cast<int>(c)) <= kLargestChannelValue) {
                continue;
            }
            const std::string name(channelNames[c]);
            const std::string where = i + 1 == keys.size()
                                          ? "the key at frame " + std::to_string(keys[i].frame) + " sets " + name
                                          : "between the keys at frames " + std::to_string(keys[i].frame) + " and " +
                                                std::to_string(keys[i + 1].frame) + ", " + name + " goes";
            return where + " beyond " + shortestText(kLargestChannelValue) +
                   " (the largest value the host poses items with)";
        }
    }
    return {};
}

}  // namespace plof::host
