#include "host/run/scene_render.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>

#include "host/pictures/picture_files.h"
#include "host/pictures/picture_framing.h"
#include "host/pictures/scene_picture.h"
#include "host/play/resting_places.h"

namespace plof::host {

namespace {

constexpr int kGifTrailFrames = 10;   // an animation's trails fade within this many frames
constexpr int kShortestGifDelay = 2;  // hundredths; players slow down shorter ones

// GIF delays are whole hundredths of a second: each frame's delay is the
// rounded end time minus the rounded start time, so at 30 fps the delays
// run 3, 4, 3, ... and 30 frames last exactly one second.
int gifDelay(int64_t index, double fps) {
    const auto at = [fps](int64_t i) { return std::llround(100.0 * static_cast<double>(i) / fps); };
    return static_cast<int>(std::clamp<long long>(at(index + 1) - at(index), kShortestGifDelay, 65535));
}

// Plays the range once for the box the camera frames: points in flight,
// points of other items while shown, pivots and resting places. Points at
// rest at a pivot would otherwise outnumber the flying ones and narrow the
// box to the pivot; with OrgEmit the resting points show the object itself.
Box framingBox(Playback &playback, std::span<const std::optional<EffectSettings>> settings, double positions) {
    const HostScene &scene = playback.scene();
    FramingSampler framing(positions * static_cast<double>(playback.frameCount()));
    std::vector<std::unique_ptr<RestingPlaces>> resting(scene.items.size());
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
        if (settings[i]) resting[i] = std::make_unique<RestingPlaces>(scene, i, *settings[i], playback.fps());
    }
    playback.play(
        [&](int32_t frame) {
            for (std::size_t i = 0; i < scene.items.size(); ++i) {
                const std::span<const double> world = playback.worldPoints(i);
                if (!resting[i]) {
                    if (scene.items[i].shownAt(frame)) framing.addPositions(world);
                    continue;
                }
                RestingPlaces &places = *resting[i];
                places.setFrame(frame, frame / playback.fps());
                framing.include(places.pivot());
                const bool restsOnTheObject = settings[i]->whole(Setting::OrgEmit) != 0;
                bool restIncluded = false;
                for (std::size_t p = 0; 3 * p + 2 < world.size(); ++p) {
                    if (restsOnTheObject || !places.atRest(p, &world[3 * p])) {
                        framing.addPositions(world.subspan(3 * p, 3));
                    } else if (!restIncluded) {
                        framing.include(places.place(p));
                        restIncluded = true;
                    }
                }
            }
        },
        "pass 1 of 2, framing");
    return framing.box();
}

}  // namespace

void renderScene(Playback &playback, const RenderRequest &request) {
    const int width = request.width, height = request.height;
    const HostScene &scene = playback.scene();
    const double fps = playback.fps();
    std::vector<std::optional<EffectSettings>> settings(scene.items.size());
    double positions = 0.0;
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
        if (scene.items[i].hasEffect) settings[i] = playback.effectSettings(i);
        positions += static_cast<double>(std::max<std::size_t>(1, scene.items[i].points.size() / 3));
    }

    const Box box = framingBox(playback, settings, positions);
    const Camera camera =
        request.aim ? Camera(*request.aim, box, width, height) : Camera(request.view, box, width, height);

    // Then the drawing, playing the range again (the effect places every
    // frame afresh, so the positions are the same).
    // A trail longer than the range reaches back to its first frame.
    const int wholeRange = static_cast<int>(std::min<int64_t>(playback.frameCount(), 1 << 20));
    const int trailFrames = request.trail                          ? std::min(*request.trail, wholeRange)
                            : request.format == PictureFormat::Png ? wholeRange
                                                                   : kGifTrailFrames;
    EffectPicture picture(scene, settings, fps, camera, box, width, height, trailFrames);
    std::optional<GifAnimation> animation;
    if (request.format == PictureFormat::Gif) animation.emplace(request.out, width, height);
    int64_t index = 0;
    playback.play(
        [&](int32_t frame) {
            picture.addFrame(frame, frame / fps, [&](std::size_t i) { return playback.worldPoints(i); });
            if (animation) animation->addFrame(picture.picture(), gifDelay(index++, fps));
        },
        "pass 2 of 2, drawing");
    if (animation) {
        animation->finish();
    } else {
        writePngPicture(request.out, width, height, picture.picture());
    }
}

}  // namespace plof::host
