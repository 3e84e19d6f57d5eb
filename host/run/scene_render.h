// Pictures of a played scene, as `plof-host render` draws them: a PNG still
// of the last frame with every point's trail over the range, or an animated
// GIF of the range. The range is played twice: once for the box the camera
// frames (points in flight, points of other items while shown, pivots and
// resting places), once to draw; the effect places every frame afresh, so
// both passes see the same positions.
#pragma once

#include <optional>
#include <string>

#include "host/pictures/picture_camera.h"
#include "host/run/playback.h"

namespace plof::host {

enum class PictureFormat { Png, Gif };

struct RenderRequest {
    std::string out;  // the picture file
    PictureFormat format = PictureFormat::Png;
    View view = View::Perspective;
    std::optional<CameraAim> aim;  // instead of the view
    // How many frames a trail reaches back (0: points only); by default the
    // whole range in a still, a few frames in an animation.
    std::optional<int> trail;
    int width = 640;
    int height = 480;
};

// Plays `playback`'s range twice and writes the picture. An animation's
// frame delays are whole hundredths of a second, rounded so that it keeps
// the frame rate over time. Throws OutputError when the picture cannot be
// written, and as the playback does.
void renderScene(Playback &playback, const RenderRequest &request);

}  // namespace plof::host
