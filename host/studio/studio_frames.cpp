#include "host/studio/studio_frames.h"

#include <cstring>
#include <utility>

#include "host/scene/scene_poses.h"
#include "host/studio/studio_model.h"

namespace plof::host::studio {

namespace {

// A float's bits by memcpy: std::bit_cast is missing from some C++ libraries.
void appendFloat32(std::string &bytes, double value) {
    const float single = static_cast<float>(value);
    uint32_t word = 0;
    std::memcpy(&word, &single, sizeof word);
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((word >> shift) & 0xFFu);
}

// Frames first..last as 0-based frame indices from..to (exclusive), or BadRequest.
std::pair<std::size_t, std::size_t> frameIndices(FrameRange range, int32_t first, int32_t last) {
    if (first > last || first < range.first || last > range.last) {
        throw BadRequest("frames " + std::to_string(first) + ".." + std::to_string(last) + " are not in the range " +
                         std::to_string(range.first) + ".." + std::to_string(range.last));
    }
    return {static_cast<std::size_t>(int64_t{first} - range.first),
            static_cast<std::size_t>(int64_t{last} - range.first + 1)};
}

}  // namespace

std::string framePositions(const StudioPlay &play, FrameRange range, int32_t first, int32_t last) {
    const auto [from, to] = frameIndices(range, first, last);
    std::string bytes;
    bytes.reserve((to - from) * play.framePositions * 12);
    for (std::size_t i = from * play.framePositions * 3; i < to * play.framePositions * 3; ++i) {
        appendFloat32(bytes, play.positions[i]);
    }
    return bytes;
}

std::string frameLooks(const StudioPlay &play, FrameRange range, int32_t first, int32_t last) {
    const auto [from, to] = frameIndices(range, first, last);
    std::string bytes;
    bytes.reserve((to - from) * play.framePositions);
    for (std::size_t i = from * play.framePositions; i < to * play.framePositions; ++i) {
        bytes += static_cast<char>(play.looks[i]);
    }
    return bytes;
}

std::string framePoses(const PlaybackInputs &scene, int32_t first, int32_t last) {
    frameIndices(scene.frames, first, last);
    ScenePoses poses(scene.scene, scene.fps);
    std::string bytes;
    for (int64_t frame = first; frame <= last; ++frame) {
        for (std::size_t i = 0; i < scene.scene.items.size(); ++i) {
            const ItemPose &pose = poses.at(i, static_cast<double>(frame) / scene.fps);
            for (const Vec3 &v : {pose.position, pose.axes.x, pose.axes.y, pose.axes.z}) {
                for (double c : v) appendFloat32(bytes, c);
            }
        }
    }
    return bytes;
}

}  // namespace plof::host::studio
