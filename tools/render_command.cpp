// plof-host render: plays a scene as play does and draws it: a PNG still of
// the last frame with every point's trail over the range, or an animated GIF
// of the range.
#include "render_command.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>

#include "arguments.h"
#include "command.h"
#include "host/base/file_extension.h"
#include "host/base/number_text.h"
#include "host/pictures/picture_camera.h"
#include "host/pictures/picture_files.h"
#include "host/pictures/picture_framing.h"
#include "host/pictures/scene_picture.h"
#include "host/play/resting_places.h"
#include "host/run/playback.h"
#include "playback_flags.h"

namespace plof::tools {

namespace {

using namespace plof::host;

constexpr int kLargestSide = 8192;
constexpr int kGifTrailFrames = 10;   // an animation's trails fade within this many frames
constexpr int kShortestGifDelay = 2;  // hundredths; players slow down shorter ones

const std::string kViewHelp = "camera: " + viewNames() + " (default perspective, a three-quarter view from above)";

const std::vector<FlagSpec> kRenderFlags = withPlaybackFlags({
    {"--out", "FILE.png|FILE.gif", "the picture: a PNG still of the last frame with trails, or a GIF animation"},
    {"--view", "VIEW", kViewHelp.c_str()},
    {"--camera", "AZ,EL[,DIST]",
     "instead of --view: a perspective camera AZ degrees around +Y from the front view, EL degrees above the "
     "ground, DIST framed sizes from the centre (default: filling the picture, 1.46); perspective is 35,28"},
    {"--trail", "N", "trails over the last N frames (0: points only; default: the whole range in a PNG, 10 in a GIF)"},
    {"--size", "WxH", "picture size in pixels (default 640x480)"},
});

// --camera's aim, if given; UsageError when it is not one.
std::optional<CameraAim> cameraAim(const ParsedArguments &arguments) {
    const auto text = arguments.value("--camera");
    if (!text) return std::nullopt;
    if (arguments.has("--view")) throw UsageError("give --view or --camera, not both");
    const auto aim = cameraAimNamed(*text);
    if (!aim) {
        throw UsageError(
            "--camera needs AZIMUTH,ELEVATION[,DISTANCE] in degrees (elevation -90 to 90) and "
            "framed sizes (above 0.5), e.g. 35,28 or 90,10,3, got \"" +
            *text + "\"");
    }
    return aim;
}

enum class Format { Png, Gif };

Format formatOf(const std::string &path) {
    if (host::hasExtension(path, ".png")) return Format::Png;
    if (host::hasExtension(path, ".gif")) return Format::Gif;
    throw UsageError("--out needs a file ending in .png (a still) or .gif (an animation), got \"" + path + "\"");
}

void parseSize(const std::string &text, int &width, int &height) {
    const auto x = text.find('x');
    const auto w = x == std::string::npos ? std::nullopt : parseInteger(text.substr(0, x));
    const auto h = x == std::string::npos ? std::nullopt : parseInteger(text.substr(x + 1));
    if (!w || !h || *w < 16 || *h < 16 || *w > kLargestSide || *h > kLargestSide) {
        throw UsageError("--size needs WxH, each 16 to " + std::to_string(kLargestSide) + " pixels, got \"" + text +
                         "\"");
    }
    width = *w;
    height = *h;
}

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

int runRender(const ParsedArguments &arguments) {
    const auto out = arguments.value("--out");
    if (!out) throw UsageError("render needs --out FILE.png or --out FILE.gif");
    const Format format = formatOf(*out);
    const auto view = viewNamed(arguments.value("--view").value_or("perspective"));
    if (!view) throw UsageError("--view needs " + viewNames() + ", got \"" + *arguments.value("--view") + "\"");
    const std::optional<CameraAim> aim = cameraAim(arguments);
    std::optional<int> trail;
    if (const auto trailText = arguments.value("--trail")) {
        trail = parseInteger(*trailText);
        if (!trail || *trail < 0) {
            throw UsageError("--trail needs a whole number of frames >= 0, got \"" + *trailText + "\"");
        }
    }
    int width = 640, height = 480;
    if (const auto size = arguments.value("--size")) parseSize(*size, width, height);
    if (!picturesAvailable()) {
        throw UsageError("render: pictures are not available in this build (it has no cairo and giflib)");
    }

    Playback playback(readPlaybackInputs("render", arguments));
    const HostScene &scene = playback.scene();
    const double fps = playback.fps();
    std::vector<std::optional<EffectSettings>> settings(scene.items.size());
    double positions = 0.0;
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
        if (scene.items[i].hasEffect) settings[i] = playback.effectSettings(i);
        positions += static_cast<double>(std::max<std::size_t>(1, scene.items[i].points.size() / 3));
    }

    const Box box = framingBox(playback, settings, positions);
    const Camera camera = aim ? Camera(*aim, box, width, height) : Camera(*view, box, width, height);

    // Then the drawing, playing the range again (the effect places every
    // frame afresh, so the positions are the same).
    // A trail longer than the range reaches back to its first frame.
    const int wholeRange = static_cast<int>(std::min<int64_t>(playback.frameCount(), 1 << 20));
    const int trailFrames = trail ? std::min(*trail, wholeRange) : format == Format::Png ? wholeRange : kGifTrailFrames;
    EffectPicture picture(scene, settings, fps, camera, box, width, height, trailFrames);
    std::optional<GifAnimation> animation;
    if (format == Format::Gif) animation.emplace(*out, width, height);
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
        writePngPicture(*out, width, height, picture.picture());
    }
    std::fprintf(stderr, "plof-host: wrote %s (%dx%d, frames %d..%d)\n", out->c_str(), width, height,
                 playback.frames().first, playback.frames().last);
    return kExitOk;
}

const char *const kRenderDetails =
    "Plays frames A..B as play does and draws them. --out FILE.png: a still of\n"
    "frame B, with each point's trail over the frames before it in the range\n"
    "(fading toward the past). --out FILE.gif: an animation of the range that\n"
    "loops, with short trails. --trail N sets how many frames a trail reaches\n"
    "back (0: points only) whatever the range, which still sets the framing.\n"
    "--camera: one camera for every frame of an animation. An animation's frame\n"
    "delays are whole hundredths of a second, rounded so that it keeps the\n"
    "frame rate over time (at 30 fps the delays run 3, 4, 3, ... hundredths; no\n"
    "frame is shorter than 2 hundredths, which players need, so above 50 fps\n"
    "the animation runs slower).\n"
    "\n"
    "Drawn: a faint ground grid on the XZ plane through the world origin, the\n"
    "X, Y, Z axes (red, green, blue), the pivot of each item with the effect (a\n"
    "green cross), points in flight bright with their trails (each item with\n"
    "the effect in its own colour, named in a legend when there are several),\n"
    "points at rest dim, points of other items (such as a baked scene's\n"
    "particle objects) in a light blue; no item while its dissolve is 1; the frame number in the\n"
    "bottom-left corner. The camera frames the positions of the whole range;\n"
    "the 1% farthest on each axis do not count, so a few outliers cannot shrink\n"
    "the effect to a dot. The same inputs give the same bytes.\n";

const std::string kRenderUsage = playbackUsage("render", kRenderFlags, "--out [--view|--camera] [--trail] [--size]");

}  // namespace

const Command kRenderCommand{
    "render",
    "play a scene and draw it: a PNG still with trails, or an animated GIF",
    kRenderUsage.c_str(),
    kRenderDetails,
    kRenderFlags,
    &runRender,
};

}  // namespace plof::tools
