// Where the host's pictures of an effect look from, and how a box of the
// scene is framed in them.
//
// Views follow the host's axes (X right, Y up, Z away from a front view):
// front looks along +Z, side along -X (Z to the right), top down along -Y
// (Z up the picture); these three are orthographic. perspective is a
// three-quarter view from above and to the front left, with a 40-degree
// field of view. The camera is placed so that the framed box fills the
// picture but for a margin, centred.
//
// An aimed camera (CameraAim) is a perspective camera turned AZIMUTH degrees
// around +Y from the front view and looking down ELEVATION degrees from
// above the ground; the perspective view is azimuth 35, elevation 28. Its
// DISTANCE from the box's centre is in framed sizes (the box's diagonal):
// by default the distance at which the box fills the picture (1.46); twice
// that shows the box half as large.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "host/scene/item_pose.h"

namespace plof::host {

enum class View { Front, Side, Top, Perspective };

// "front", "side", "top", "perspective"; nothing for any other name.
std::optional<View> viewNamed(std::string_view name);
// The names, as "front|side|top|perspective".
std::string viewNames();

struct Box {
    Vec3 min{};
    Vec3 max{};
};

struct CameraAim {
    double azimuth = 0.0;            // degrees around +Y from the front view
    double elevation = 0.0;          // degrees above the ground, -90 to 90
    std::optional<double> distance;  // in framed sizes, above kNearestAimDistance
};
// Nearer than this, part of the framed box is behind the camera.
inline constexpr double kNearestAimDistance = 0.5;

// "AZIMUTH,ELEVATION[,DISTANCE]"; nothing when it is not that (or the
// elevation is beyond ±90, the distance not above kNearestAimDistance).
std::optional<CameraAim> cameraAimNamed(std::string_view text);

class Camera {
public:
    // A camera of `view` framing `box` in a picture of width x height pixels.
    Camera(View view, const Box &box, int width, int height);
    Camera(const CameraAim &aim, const Box &box, int width, int height);

    // The picture coordinates of a world point; false when it lies behind a
    // perspective camera (or is not finite).
    bool project(const Vec3 &world, double &x, double &y) const;

private:
    // Places the camera turned by heading and pitch, `distance` framed sizes
    // from the box's centre (perspective only; 0: where the box fills the picture).
    void place(double heading, double pitch, double distance, const Box &box, int width, int height);
    // Coordinates along the camera's right and up axes, divided by the depth
    // for a perspective camera; false behind it.
    bool flat(const Vec3 &world, double &u, double &v) const;

    Axes axes_;
    Vec3 eye_{};
    bool perspective_;
    double scale_ = 1.0;
    double centreU_ = 0.0;
    double centreV_ = 0.0;
    double halfWidth_;
    double halfHeight_;
};

}  // namespace plof::host
