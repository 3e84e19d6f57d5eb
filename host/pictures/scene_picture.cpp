#include "host/pictures/scene_picture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "host/pictures/point_colours.h"
#include "host/play/point_look.h"

namespace plof::host {

namespace {

constexpr Rgb kBackground{0.07f, 0.075f, 0.09f};
constexpr Rgb kGrid{0.42f, 0.44f, 0.5f};
constexpr float kGridAlpha = 0.45f;
constexpr Rgb kAxisColours[3] = {{0.95f, 0.3f, 0.3f}, {0.35f, 0.9f, 0.35f}, {0.4f, 0.6f, 1.0f}};
constexpr Rgb kLabel{0.85f, 0.85f, 0.85f};
constexpr int kGridCells = 10;          // about this many grid cells across the box
constexpr float kTrailStrength = 0.8f;  // a trail's newest pixels
constexpr float kTrailFadesTo = 0.12f;  // of its strength after trailFrames
constexpr int32_t kNoStamp = std::numeric_limits<int32_t>::min();

// 1, 2 or 5 times a power of ten, near `span` / kGridCells.
double gridStep(double span) {
    const double raw = std::max(span, 1e-9) / kGridCells;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0}) {
        if (raw <= m * power) return m * power;
    }
    return 10.0 * power;
}

// The grid lines after the first from `from` to `to`, `step` apart: about
// kGridCells, never more than twice as many.
int gridLines(double from, double to, double step) {
    const double lines = std::round((to - from) / step);
    return lines >= 0.0 ? static_cast<int>(std::min(lines, 2.0 * kGridCells + 2.0)) : 0;
}

}  // namespace

EffectPicture::EffectPicture(const HostScene &scene, std::span<const std::optional<EffectSettings>> settings,
                             double framesPerSecond, const Camera &camera, const Box &box, int width, int height,
                             int trailFrames)
    : scene_(scene), camera_(camera), width_(width), height_(height), trailFrames_(std::max(trailFrames, 0)),
      background_(width, height, kBackground), resting_(scene.items.size()), points_(scene.items.size()),
      pivots_(scene.items.size()), colours_(scene.items.size(), kOtherItemColour),
      stamp_(static_cast<std::size_t>(width) * height, kNoStamp), stampItem_(stamp_.size(), 0) {
    std::size_t drawn = 0;
    std::size_t effects = 0;
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
        if (settings[i]) {
            resting_[i] = std::make_unique<RestingPlaces>(scene, i, *settings[i], framesPerSecond);
            colours_[i] = flyingColour(effects++);
        }
        points_[i].resize(std::max<std::size_t>(1, scene.items[i].points.size() / 3));
        drawn += points_[i].size();
    }
    // Many points: small dots, so that they do not merge into one blot.
    dotSize_ = drawn <= 500 ? 3 : drawn <= 20000 ? 2 : 1;
    drawBackground(box);
}

void EffectPicture::drawBackground(const Box &box) {
    auto segment = [this](const Vec3 &a, const Vec3 &b, Rgb colour, float alpha) {
        double x0, y0, x1, y1;
        if (camera_.project(a, x0, y0) && camera_.project(b, x1, y1)) background_.line(x0, y0, x1, y1, colour, alpha);
    };
    const double span = std::max(box.max[0] - box.min[0], box.max[2] - box.min[2]);
    const double step = gridStep(span);
    const double x0 = std::floor(box.min[0] / step) * step, x1 = std::ceil(box.max[0] / step) * step;
    const double z0 = std::floor(box.min[2] / step) * step, z1 = std::ceil(box.max[2] / step) * step;
    // Lines counted, not stepped to: far from the origin a step can be less
    // than a unit in the last place of the coordinates, and x += step would
    // never move (lines that round to one place are then drawn over each other).
    for (int i = 0; i <= gridLines(x0, x1, step); ++i) {
        const double x = x0 + i * step;
        segment({x, 0, z0}, {x, 0, z1}, kGrid, kGridAlpha);
    }
    for (int i = 0; i <= gridLines(z0, z1, step); ++i) {
        const double z = z0 + i * step;
        segment({x0, 0, z}, {x1, 0, z}, kGrid, kGridAlpha);
    }
    // Axes two grid steps long from the origin, each labelled at its end.
    const char *names[3] = {"x", "y", "z"};
    for (int c = 0; c < 3; ++c) {
        Vec3 end{};
        end[c] = 2.0 * step;
        segment({0, 0, 0}, end, kAxisColours[c], 1.0f);
        double x, y;
        if (camera_.project(end, x, y)) {
            background_.text(static_cast<int>(std::lround(x)) + 3, static_cast<int>(std::lround(y)) - 9, names[c],
                             kAxisColours[c], 1);
        }
    }
}

void EffectPicture::stampTrail(const Point &from, const Point &to, std::size_t item) {
    // Bresenham between the two pixels; a segment longer than the picture
    // is a jump (a relaunch seen from afar), not a trail, and one with an
    // end farther off than that never crosses the picture.
    const float reach = static_cast<float>(width_ + height_);
    for (float c : {from.x, from.y, to.x, to.y}) {
        if (!(c >= -reach && c <= 2.0f * reach)) return;
    }
    int x0 = static_cast<int>(std::lround(from.x)), y0 = static_cast<int>(std::lround(from.y));
    const int x1 = static_cast<int>(std::lround(to.x)), y1 = static_cast<int>(std::lround(to.y));
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    if (dx > width_ + height_ || -dy > width_ + height_) return;
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    while (true) {
        if (x0 >= 0 && y0 >= 0 && x0 < width_ && y0 < height_) {
            const std::size_t at = static_cast<std::size_t>(y0) * width_ + x0;
            stamp_[at] = frame_;
            stampItem_[at] = static_cast<uint32_t>(item);
        }
        if (x0 == x1 && y0 == y1) break;
        const int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x0 += sx;
        }
        if (doubled <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void EffectPicture::addFrame(int32_t frame, double time,
                             const std::function<std::span<const double>(std::size_t)> &world) {
    frame_ = frame;
    for (std::size_t i = 0; i < scene_.items.size(); ++i) {
        const std::span<const double> positions = world(i);
        RestingPlaces *resting = resting_[i].get();
        if (resting) {
            resting->setFrame(frame, time);
            pivots_[i] = resting->pivot();
        }
        const bool shown = scene_.items[i].shownAt(frame);
        std::vector<Point> &points = points_[i];
        for (std::size_t p = 0; p < points.size() && 3 * p + 2 < positions.size(); ++p) {
            const double *at = &positions[3 * p];
            Point now;
            double x = 0.0, y = 0.0;
            const PointLook look = pointLook(resting, shown, p, at);
            if (look != PointLook::Hidden && camera_.project({at[0], at[1], at[2]}, x, y)) {
                now = {static_cast<float>(x), static_cast<float>(y),
                       look == PointLook::Other     ? Look::Other
                       : look == PointLook::Resting ? Look::Resting
                                                    : Look::Flying};
            }
            const Point &before = points[p];
            const bool trails = now.look != Look::None && now.look == before.look && now.look != Look::Resting;
            if (trails && trailFrames_ > 0) stampTrail(before, now, i);
            points[p] = now;
        }
    }
}

void EffectPicture::drawTrails(Canvas &canvas) const {
    if (trailFrames_ == 0) return;
    const float fade = std::pow(kTrailFadesTo, 1.0f / static_cast<float>(trailFrames_));
    std::vector<float> alphaOfAge(static_cast<std::size_t>(trailFrames_));
    for (std::size_t age = 0; age < alphaOfAge.size(); ++age) {
        alphaOfAge[age] = kTrailStrength * std::pow(fade, static_cast<float>(age));
    }
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * width_ + x;
            if (stamp_[at] == kNoStamp) continue;
            const int64_t age = int64_t{frame_} - stamp_[at];
            if (age < 0 || age >= trailFrames_) continue;
            canvas.blend(x, y, colours_[stampItem_[at]], alphaOfAge[static_cast<std::size_t>(age)]);
        }
    }
}

// With several items carrying the effect, each one's name and number beside
// a dot of its colour, top left.
void EffectPicture::drawLegend(Canvas &canvas, int scale) const {
    std::vector<std::size_t> effects;
    for (std::size_t i = 0; i < resting_.size(); ++i) {
        if (resting_[i]) effects.push_back(i);
    }
    if (effects.size() < 2) return;
    const int rowHeight = 10 * scale;
    for (std::size_t row = 0; row < effects.size(); ++row) {
        const std::size_t i = effects[row];
        const int top = 8 + static_cast<int>(row) * rowHeight;
        canvas.dot(8 + 2 * scale, top + 3.0 * scale, colours_[i], 3 * scale);
        // Named as warnings name it, so two items of one name are told apart.
        const std::string label = scene_.items[i].name + " (item " + std::to_string(i + 1) + ")";
        canvas.text(8 + 6 * scale, top, label, kLabel, scale);
    }
}

std::vector<uint8_t> EffectPicture::picture() const {
    Canvas canvas = background_;
    drawTrails(canvas);
    for (std::size_t i = 0; i < points_.size(); ++i) {
        for (const Point &point : points_[i]) {
            if (point.look == Look::None) continue;
            const Rgb colour = point.look == Look::Resting ? kRestingColour : colours_[i];
            canvas.dot(static_cast<double>(point.x), static_cast<double>(point.y), colour,
                       point.look == Look::Resting ? std::max(1, dotSize_ - 1) : dotSize_);
        }
    }
    for (const std::optional<Vec3> &pivot : pivots_) {
        double x, y;
        if (!pivot || !camera_.project(*pivot, x, y)) continue;
        canvas.line(x - 6, y, x + 6, y, kPivotColour, 1.0f);
        canvas.line(x, y - 6, x, y + 6, kPivotColour, 1.0f);
    }
    const int scale = height_ >= 360 ? 2 : 1;
    canvas.text(8, height_ - 8 - 7 * scale, "frame " + std::to_string(frame_), kLabel, scale);
    drawLegend(canvas, scale);
    return canvas.rgb8();
}

}  // namespace plof::host
