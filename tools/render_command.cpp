// plof-host render: plays a scene as play does and draws it
// (host/run/scene_render.h): a PNG still of the last frame with every
// point's trail over the range, or an animated GIF of the range.
#include "render_command.h"

#include <cstdio>
#include <optional>

#include "arguments.h"
#include "command.h"
#include "host/base/file_extension.h"
#include "host/base/number_text.h"
#include "host/pictures/picture_camera.h"
#include "host/pictures/picture_files.h"
#include "host/run/playback.h"
#include "host/run/scene_render.h"
#include "playback_flags.h"

namespace plof::tools {

namespace {

using namespace plof::host;

constexpr int kLargestSide = 8192;

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

PictureFormat formatOf(const std::string &path) {
    if (host::hasExtension(path, ".png")) return PictureFormat::Png;
    if (host::hasExtension(path, ".gif")) return PictureFormat::Gif;
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

int runRender(const ParsedArguments &arguments) {
    RenderRequest request;
    const auto out = arguments.value("--out");
    if (!out) throw UsageError("render needs --out FILE.png or --out FILE.gif");
    request.out = *out;
    request.format = formatOf(*out);
    const auto view = viewNamed(arguments.value("--view").value_or("perspective"));
    if (!view) throw UsageError("--view needs " + viewNames() + ", got \"" + *arguments.value("--view") + "\"");
    request.view = *view;
    request.aim = cameraAim(arguments);
    if (const auto trailText = arguments.value("--trail")) {
        request.trail = parseInteger(*trailText);
        if (!request.trail || *request.trail < 0) {
            throw UsageError("--trail needs a whole number of frames >= 0, got \"" + *trailText + "\"");
        }
    }
    if (const auto size = arguments.value("--size")) parseSize(*size, request.width, request.height);
    if (!picturesAvailable()) {
        throw UsageError("render: pictures are not available in this build (it has no cairo and giflib)");
    }
    Playback playback(readPlaybackInputs("render", arguments));
    renderScene(playback, request);
    std::fprintf(stderr, "plof-host: wrote %s (%dx%d, frames %d..%d)\n", out->c_str(), request.width, request.height,
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
