#include "host/play/resting_places.h"

#include <algorithm>
#include <cmath>

namespace plof::host {

namespace {

// Places computed through object coordinates agree to about this fraction
// of the coordinates' size; a point in flight is farther off than that from
// its first frame on.
constexpr double kRelativeTolerance = 1e-9;

double largest(const Vec3 &v) { return std::max({std::fabs(v[0]), std::fabs(v[1]), std::fabs(v[2])}); }

double dot(const Vec3 &a, const Vec3 &b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

}  // namespace

RestingPlaces::RestingPlaces(const HostScene &scene, std::size_t item, const EffectSettings &settings,
                             double framesPerSecond)
    : scene_(scene), item_(item), settings_(settings), poses_(scene, framesPerSecond),
      pointCount_(scene.items[item].pointCount()) {
    // The effect finds its avoid object by name: the first item so named;
    // "none" names no avoid object.
    for (std::size_t i = 0; settings.avoidObject != "none" && i < scene.items.size(); ++i) {
        if (scene.items[i].name == settings.avoidObject) {
            avoid_ = i;
            break;
        }
    }
}

void RestingPlaces::setFrame(int32_t frame, double time) {
    frame_ = frame;
    pose_ = poses_.at(item_, time);
    restOffset_ = Vec3{};
    scale_ = 1.0 + largest(pose_.position);
    if (avoid_) {
        const Vec3 avoidPosition = poses_.at(*avoid_, time).position;
        Vec3 difference;
        for (int c = 0; c < 3; ++c) difference[c] = avoidPosition[c] - pose_.position[c];
        // The item's axes are orthonormal: their transpose turns world into object.
        restOffset_ = {dot(pose_.axes.x, difference), dot(pose_.axes.y, difference), dot(pose_.axes.z, difference)};
        scale_ = std::max(scale_, 1.0 + largest(avoidPosition));
    }
}

Vec3 RestingPlaces::place(std::size_t point) const {
    Vec3 local = restOffset_;
    if (settings_.whole(Setting::OrgEmit) != 0 && hasPoint(point)) {
        const std::vector<float> &points = scene_.items[item_].points;
        for (int c = 0; c < 3; ++c) local[c] += static_cast<double>(points[3 * point + c]);
    }
    return toWorld(pose_, local);
}

bool RestingPlaces::atRest(std::size_t point, const double *world) const {
    // An item without points shows its pivot, which is no particle.
    if (!hasPoint(point) || bornThisFrame(point)) return true;
    const Vec3 rest = place(point);
    const Vec3 found{world[0], world[1], world[2]};
    const double tolerance = kRelativeTolerance * std::max(scale_, 1.0 + largest(found));
    for (int c = 0; c < 3; ++c) {
        if (!(std::fabs(found[c] - rest[c]) <= tolerance)) return false;
    }
    return true;
}

bool RestingPlaces::bornThisFrame(std::size_t point) const {
    const int64_t birth = settings_.whole(Setting::Birth);
    const int64_t start = settings_.whole(Setting::START_F);
    if (birth <= 0 || frame_ < start) return false;
    const int64_t period = recyclePeriod(pointCount_, birth);
    const int64_t offset = static_cast<int64_t>(point) * kScheduleFps / birth;
    const int64_t cycle =
        settings_.whole(Setting::ReCycle) == 1 ? (frame_ - start - offset) / std::max<int64_t>(period, 1) : 0;
    return start + offset + period * cycle == frame_;
}

}  // namespace plof::host
