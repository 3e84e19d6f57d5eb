#include "host/run/export_recorder.h"

#include <algorithm>
#include <cmath>

#include "host/base/host_error.h"
#include "host/base/warning_log.h"
#include "host/base/work_memory.h"
#include "host/gltf/gltf_file.h"
#include "host/gltf/gltf_transform.h"
#include "host/gltf/marker_size.h"

namespace plof::host {

namespace {

// Bytes of translation per node and frame.
constexpr double kTranslationBytes = 12.0;
// Memory an export takes while it writes, with some room to spare: measured
// about 370 bytes per node (the node, its point in the module and in the
// playback) on a grid of a million points, and 12 bytes per node and frame
// (its float32 translation). The file is streamed, so its size adds nothing.
constexpr double kMemoryPerNode = 512.0;
constexpr double kMemoryPerSample = 16.0;

constexpr std::array<float, 3> kHiddenScale{0.0F, 0.0F, 0.0F};

template <std::size_t N>
bool allFinite(const std::array<float, N> &values) {
    return std::all_of(values.begin(), values.end(), [](float value) { return std::isfinite(value); });
}

// Key times are float32 seconds and must increase from frame to frame. They
// are farthest apart in float32 at the ends of the range, farthest from 0:
// distinct there, distinct everywhere.
void checkFrameTimes(const Playback &playback) {
    const FrameRange frames = playback.frames();
    const auto time = [&](int64_t frame) { return static_cast<float>(static_cast<double>(frame) / playback.fps()); };
    if (frames.first == frames.last) return;
    if (time(frames.first) < time(int64_t{frames.first} + 1) && time(int64_t{frames.last} - 1) < time(frames.last)) {
        return;
    }
    throw RequestError("export: frames " + std::to_string(frames.first) + ".." + std::to_string(frames.last) +
                       " are so far from 0 that glTF's float32 times cannot tell them apart; export frames nearer 0");
}

// Refuses an export whose writing would take more memory than the machine has.
void checkMemory(std::size_t nodes, int64_t frames) {
    const std::string shortfall = memoryShortfall(nodes, frames, {kMemoryPerNode, kMemoryPerSample}, "write");
    if (!shortfall.empty()) throw RequestError("export: " + shortfall + ": export fewer points or frames");
}

}  // namespace

ExportRecorder::ExportRecorder(const Playback &playback)
    : playback_(playback), poses_(playback.scene(), playback.fps()) {
    const HostScene &scene = playback.scene();
    std::size_t nodeCount = 0;
    for (const HostItem &item : scene.items) nodeCount += item.hasEffect ? std::max(1, item.pointCount()) : 1;
    if (static_cast<double>(nodeCount) * static_cast<double>(playback.frameCount()) * kTranslationBytes >
        static_cast<double>(kMostGltfBufferBytes)) {
        throw RequestError("export: " + std::to_string(nodeCount) + " nodes x " +
                           std::to_string(playback.frameCount()) +
                           " frames do not fit one glTF file (2 GiB): export fewer frames");
    }
    checkMemory(nodeCount, playback.frameCount());
    checkFrameTimes(playback);
    scene_.firstFrame = playback.frames().first;
    scene_.frameCount = static_cast<int32_t>(playback.frameCount());
    scene_.fps = playback.fps();
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
        const HostItem &item = scene.items[i];
        firstNodeOfItem_.push_back(scene_.nodes.size());
        const bool points = item.hasEffect && item.pointCount() > 0;
        resting_.push_back(points ? std::make_unique<RestingPlaces>(scene, i, playback.effectSettings(i), scene_.fps)
                                  : nullptr);
        const std::size_t nodes = points ? static_cast<std::size_t>(item.pointCount()) : 1;
        for (std::size_t n = 0; n < nodes; ++n) {
            AnimatedNode node;
            node.name = points ? item.name + " " + std::to_string(n) : item.name;
            node.hasMarker = !item.isNull;
            node.translations.resize(static_cast<std::size_t>(scene_.frameCount) * 3);
            if (!points) node.rotations.resize(static_cast<std::size_t>(scene_.frameCount) * 4);
            scene_.nodes.push_back(std::move(node));
        }
    }
}

void ExportRecorder::record(int32_t frame) {
    const auto frameIndex = static_cast<std::size_t>(frame - scene_.firstFrame);
    const HostScene &scene = playback_.scene();
    for (std::size_t item = 0; item < scene.items.size(); ++item) {
        const bool dissolved = !scene.items[item].shownAt(frame);
        if (resting_[item]) {
            recordPoints(item, firstNodeOfItem_[item], frame, dissolved);
        } else {
            recordItem(item, firstNodeOfItem_[item], frameIndex, frame / scene_.fps, dissolved);
        }
    }
}

void ExportRecorder::recordPoints(std::size_t item, std::size_t firstNode, int32_t frame, bool dissolved) {
    const auto frameIndex = static_cast<std::size_t>(frame - scene_.firstFrame);
    RestingPlaces &resting = *resting_[item];
    resting.setFrame(frame, frame / scene_.fps);
    const std::span<const double> points = playback_.worldPoints(item);
    for (std::size_t p = 0; p * 3 + 2 < points.size(); ++p) {
        std::array<float, 3> position = gltfPoint({points[p * 3], points[p * 3 + 1], points[p * 3 + 2]});
        const bool finite = allFinite(position);
        if (!finite) countUnplaceable(position);
        std::copy(position.begin(), position.end(), scene_.nodes[firstNode + p].translations.begin() + frameIndex * 3);
        setVisible(firstNode + p, frameIndex, finite && !dissolved && !resting.atRest(p, &points[p * 3]),
                   {1.0F, 1.0F, 1.0F});
    }
}

void ExportRecorder::recordItem(std::size_t item, std::size_t node, std::size_t frameIndex, double time,
                                bool dissolved) {
    GltfTransform transform = gltfTransform(poses_.at(item, time));
    const bool finite = allFinite(transform.translation) && allFinite(transform.rotation) && allFinite(transform.scale);
    if (!finite) {
        countUnplaceable(transform.translation);
        transform = GltfTransform{};
    }
    AnimatedNode &target = scene_.nodes[node];
    std::copy(transform.translation.begin(), transform.translation.end(), target.translations.begin() + frameIndex * 3);
    std::array<float, 4> rotation = transform.rotation;
    if (frameIndex > 0) {
        // q and −q are the same turn; keep neighbours on the same side so
        // that interpolation between frames takes the short way round.
        const float *previous = &target.rotations[(frameIndex - 1) * 4];
        float dot = 0.0F;
        for (int i = 0; i < 4; ++i) dot += previous[i] * rotation[i];
        if (dot < 0.0F) {
            for (float &component : rotation) component = -component;
        }
    }
    std::copy(rotation.begin(), rotation.end(), target.rotations.begin() + frameIndex * 4);
    setVisible(node, frameIndex, finite && !dissolved, transform.scale);
}

void ExportRecorder::countUnplaceable(std::array<float, 3> &translation) {
    translation = {0.0F, 0.0F, 0.0F};
    ++unplaceable_;
}

void ExportRecorder::setVisible(std::size_t node, std::size_t frameIndex, bool visible,
                                const std::array<float, 3> &scale) {
    std::vector<ScaleKey> &keys = scene_.nodes[node].scales;
    const std::array<float, 3> &shown = visible ? scale : kHiddenScale;
    if (keys.empty() || keys.back().scale != shown) keys.push_back({static_cast<int32_t>(frameIndex), shown});
}

AnimatedScene ExportRecorder::finish(std::optional<float> markerSize) {
    if (unplaceable_ > 0) {
        warn("export: " + std::to_string(unplaceable_) +
             " node positions at some frames are beyond float32 or not numbers; the nodes are hidden "
             "(scale 0) at the origin there");
    }
    if (!markerSize) {
        // At most about a million samples: enough for the 2 % tails.
        std::size_t samples = 0;
        for (const AnimatedNode &node : scene_.nodes) samples += node.translations.size() / 3;
        const std::size_t stride = std::max<std::size_t>(1, samples / 1000000);
        std::vector<float> visible;
        std::size_t counter = 0;
        for (const AnimatedNode &node : scene_.nodes) {
            std::size_t key = 0;
            for (std::size_t f = 0; f * 3 < node.translations.size(); ++f) {
                while (key + 1 < node.scales.size() && node.scales[key + 1].frameIndex <= static_cast<int32_t>(f))
                    ++key;
                if (node.scales[key].scale == kHiddenScale || counter++ % stride != 0) continue;
                visible.insert(visible.end(), node.translations.begin() + f * 3, node.translations.begin() + f * 3 + 3);
            }
        }
        markerSize = defaultMarkerSize(std::move(visible));
    }
    scene_.markerSize = *markerSize;
    return std::move(scene_);
}

AnimatedScene recordExport(Playback &playback, std::optional<float> markerSize) {
    ExportRecorder recorder(playback);
    playback.play([&](int32_t frame) { recorder.record(frame); });
    return recorder.finish(markerSize);
}

}  // namespace plof::host
