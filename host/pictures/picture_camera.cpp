#include "host/pictures/picture_camera.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/base/number_text.h"

namespace plof::host {

namespace {

struct NamedView {
    View view;
    const char *name;
    double heading, pitch;  // the camera's rotation, degrees, as an item's
};

constexpr NamedView kViews[] = {
    {View::Front, "front", 0.0, 0.0},
    {View::Side, "side", -90.0, 0.0},
    {View::Top, "top", 0.0, 90.0},
    {View::Perspective, "perspective", 35.0, 28.0},
};

constexpr double kHalfFieldOfViewDegrees = 20.0;
constexpr double kMarginFraction = 0.06;  // of the picture's smaller side, on every edge

double dot(const Vec3 &a, const Vec3 &b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

}  // namespace

std::optional<View> viewNamed(std::string_view name) {
    for (const NamedView &named : kViews) {
        if (name == named.name) return named.view;
    }
    return std::nullopt;
}

std::string viewNames() {
    std::string names;
    for (const NamedView &named : kViews) names += (names.empty() ? "" : "|") + std::string(named.name);
    return names;
}

std::optional<CameraAim> cameraAimNamed(std::string_view text) {
    std::vector<double> values;
    for (std::size_t start = 0; start <= text.size() && values.size() < 4;) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const auto value = parseNumber(text.substr(start, comma - start));
        if (!value) return std::nullopt;
        values.push_back(*value);
        start = comma + 1;
    }
    if (values.size() < 2 || values.size() > 3 || !(std::fabs(values[1]) <= 90.0)) return std::nullopt;
    CameraAim aim{values[0], values[1], std::nullopt};
    if (values.size() == 3) {
        if (!(values[2] > kNearestAimDistance && values[2] < 1e6)) return std::nullopt;
        aim.distance = values[2];
    }
    return aim;
}

Camera::Camera(View view, const Box &box, int width, int height)
    : perspective_(view == View::Perspective), halfWidth_(width / 2.0), halfHeight_(height / 2.0) {
    const NamedView &named =
        *std::find_if(std::begin(kViews), std::end(kViews), [view](const NamedView &s) { return s.view == view; });
    place(named.heading, named.pitch, 0.0, box, width, height);
}

Camera::Camera(const CameraAim &aim, const Box &box, int width, int height)
    : perspective_(true), halfWidth_(width / 2.0), halfHeight_(height / 2.0) {
    place(aim.azimuth, aim.elevation, aim.distance.value_or(0.0), box, width, height);
}

void Camera::place(double heading, double pitch, double distance, const Box &box, int width, int height) {
    axes_ = axesFromHpb(heading, pitch, 0.0);
    Vec3 centre;
    double radius = 0.0;
    for (int c = 0; c < 3; ++c) {
        centre[c] = (box.min[c] + box.max[c]) / 2.0;
        radius += (box.max[c] - box.min[c]) * (box.max[c] - box.min[c]) / 4.0;
    }
    radius = std::max(std::sqrt(radius), 1e-9);
    // Far enough back that the box's bounding sphere is in front of the camera.
    const double filling = radius / std::sin(kHalfFieldOfViewDegrees * 3.141592653589793 / 180.0);
    for (int c = 0; c < 3; ++c) eye_[c] = centre[c] - axes_.z[c] * (perspective_ ? filling : 0.0);

    // Fit the box's projected corners into the picture.
    double uMin = HUGE_VAL, uMax = -HUGE_VAL, vMin = HUGE_VAL, vMax = -HUGE_VAL;
    for (int corner = 0; corner < 8; ++corner) {
        const Vec3 p{(corner & 1) ? box.max[0] : box.min[0], (corner & 2) ? box.max[1] : box.min[1],
                     (corner & 4) ? box.max[2] : box.min[2]};
        double u = 0.0, v = 0.0;
        if (!flat(p, u, v)) continue;
        uMin = std::min(uMin, u);
        uMax = std::max(uMax, u);
        vMin = std::min(vMin, v);
        vMax = std::max(vMax, v);
    }
    const double margin = kMarginFraction * std::min(width, height);
    const double spanU = std::max(uMax - uMin, 1e-12);
    const double spanV = std::max(vMax - vMin, 1e-12);
    scale_ = std::min((width - 2.0 * margin) / spanU, (height - 2.0 * margin) / spanV);
    centreU_ = (uMin + uMax) / 2.0;
    centreV_ = (vMin + vMax) / 2.0;
    if (perspective_ && distance > 0.0) {
        // The same lens moved to the asked distance: sizes go as 1 / distance.
        const double moved = distance * 2.0 * radius;
        for (int c = 0; c < 3; ++c) eye_[c] = centre[c] - axes_.z[c] * moved;
        centreU_ *= filling / moved;
        centreV_ *= filling / moved;
    }
}

bool Camera::flat(const Vec3 &world, double &u, double &v) const {
    const Vec3 d{world[0] - eye_[0], world[1] - eye_[1], world[2] - eye_[2]};
    u = dot(d, axes_.x);
    v = dot(d, axes_.y);
    if (perspective_) {
        const double depth = dot(d, axes_.z);
        if (!(depth > 1e-9)) return false;
        u /= depth;
        v /= depth;
    }
    return std::isfinite(u) && std::isfinite(v);
}

bool Camera::project(const Vec3 &world, double &x, double &y) const {
    double u = 0.0, v = 0.0;
    if (!flat(world, u, v)) return false;
    x = halfWidth_ + scale_ * (u - centreU_) - 0.5;
    y = halfHeight_ - scale_ * (v - centreV_) - 0.5;
    return true;
}

}  // namespace plof::host
