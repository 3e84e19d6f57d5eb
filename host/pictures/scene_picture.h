// Pictures of a played scene, frame by frame, as `plof-host render` draws
// them: a faint ground grid on the XZ plane through the world origin, the
// X, Y and Z axes from the origin (red, green, blue), every item's points,
// each point's trail over the frames before (fading toward the past), the
// pivot of each item that carries the effect (a green cross), and the frame
// number in the bottom-left corner.
//
// Points of an item with the effect are drawn bright while they fly, each
// item in its own colour (with a legend of the items' names and numbers
// when there are several), and dim while they rest (RestingPlaces tells which); their trails
// follow flights only. Points of other items (a baked scene's particle objects, a null's
// pivot) are drawn in a cool light colour, and not while their dissolve is
// 1. Memory: a few numbers per point and per pixel; trails are kept in the
// pixels, not per frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "host/pictures/picture_camera.h"
#include "host/pictures/picture_canvas.h"
#include "host/play/resting_places.h"
#include "host/scene/host_scene.h"
#include "host/settings/settings_reading.h"

namespace plof::host {

class EffectPicture {
public:
    // `settings[i]`: the effect settings of item i, or none when it has no
    // effect. `camera` frames `box` (the grid covers it). `trailFrames`: how
    // many frames a trail takes to fade out (0: no trails, points only). The scene and camera must
    // outlive the picture.
    EffectPicture(const HostScene &scene, std::span<const std::optional<EffectSettings>> settings,
                  double framesPerSecond, const Camera &camera, const Box &box, int width, int height, int trailFrames);

    // One played frame, in order: `world(i)` gives item i's world positions.
    void addFrame(int32_t frame, double time, const std::function<std::span<const double>(std::size_t)> &world);

    // The picture of the frame added last, three bytes per pixel.
    std::vector<uint8_t> picture() const;

private:
    enum class Look : uint8_t { None, Flying, Resting, Other };
    struct Point {
        float x = 0.0f;
        float y = 0.0f;
        Look look = Look::None;  // None: not drawn at this frame
    };

    void drawBackground(const Box &box);
    void stampTrail(const Point &from, const Point &to, std::size_t item);
    void drawTrails(Canvas &canvas) const;
    void drawLegend(Canvas &canvas, int scale) const;

    const HostScene &scene_;
    const Camera &camera_;
    int width_;
    int height_;
    int trailFrames_;
    Canvas background_;
    std::vector<std::unique_ptr<RestingPlaces>> resting_;  // per item, null without the effect
    std::vector<std::vector<Point>> points_;               // per item, per point: the last frame added
    std::vector<std::optional<Vec3>> pivots_;              // per item with the effect
    std::vector<Rgb> colours_;                             // per item: its points in flight and trails
    std::vector<int32_t> stamp_;                           // per pixel: frame number of the last trail over it
    std::vector<uint32_t> stampItem_;                      // per pixel: the item whose trail it was
    int32_t frame_ = 0;
    int dotSize_ = 2;
};

}  // namespace plof::host
