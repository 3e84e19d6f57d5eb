// What an export (`plof-host export`, the studio's .glb) keeps of a played
// scene: for every item that carries the effect, one node per point, at the
// point's played world position at each frame; for every other item (a
// baked particle object, a null, a plain object) one node at the item's pose
// (position, heading, pitch, bank and scale, parents applied). A node is
// hidden (scale 0) at a frame where its point rests (the effect puts every
// point that is not in flight at its resting place), where its item is fully
// dissolved, or where its position is beyond float32 or not a number (it is
// put at the origin there, with a warning).
//
// Memory: 12 bytes per node and frame (16 more for an item node's rotation).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "host/gltf/animated_scene.h"
#include "host/play/resting_places.h"
#include "host/run/playback.h"
#include "host/scene/host_scene.h"
#include "host/scene/scene_poses.h"

namespace plof::host {

class ExportRecorder {
public:
    // Throws RequestError when the nodes × frames would not fit one glTF file
    // or the machine's memory while it is written, or when float32 key
    // times cannot tell the range's frames apart.
    explicit ExportRecorder(const Playback &playback);

    // Records frame `frame` as it was just played.
    void record(int32_t frame);

    // The recorded scene; the marker's diameter is `markerSize`, or by default
    // a hundredth of the effect's extent (marker_size.h).
    AnimatedScene finish(std::optional<float> markerSize);

private:
    void recordPoints(std::size_t item, std::size_t firstNode, int32_t frame, bool dissolved);
    void recordItem(std::size_t item, std::size_t node, std::size_t frameIndex, double time, bool dissolved);
    // A position glTF cannot hold: the node is put at the origin (and hidden).
    void countUnplaceable(std::array<float, 3> &translation);
    void setVisible(std::size_t node, std::size_t frameIndex, bool visible, const std::array<float, 3> &scale);

    const Playback &playback_;
    ScenePoses poses_;
    AnimatedScene scene_;
    std::vector<std::size_t> firstNodeOfItem_;
    int64_t unplaceable_ = 0;
    // Per item: null for an item of one node, else where its points rest.
    std::vector<std::unique_ptr<RestingPlaces>> resting_;
};

// Plays the range of `playback` once, recording every frame, and finishes
// the recording (the marker as finish() makes it). Throws as the recorder
// and the playback do.
AnimatedScene recordExport(Playback &playback, std::optional<float> markerSize);

}  // namespace plof::host
