// plof-host play: loads the module, builds or reads a host scene, plays its
// frames through the effect and writes every point's world position as CSV.
#include <cmath>
#include <cstdio>
#include <memory>

#include "command.h"
#include "emitter_scene.h"
#include "host/dialogs/scripted_file_request.h"
#include "host/effect_handler.h"
#include "host/effect_player.h"
#include "host/host_error.h"
#include "host/host_services.h"
#include "host/module_loader.h"
#include "host/object_points.h"
#include "host/panels/panel_services.h"
#include "host/program_location.h"
#include "host/scene_file.h"
#include "options_panel_session.h"
#include "points_csv.h"

namespace plof::tools {

namespace {

using namespace plof::host;

// Runs longer than this many point-frames show progress (on a terminal only).
constexpr double kProgressWork = 2e6;

const FlagSpec kPlayFlags[] = {
    {"--object", "PATH", "object file or built-in shape for one emitter named \"Emitter\""},
    {"--settings", "FILE.plf", "the effect's settings (with --object)"},
    {"--frames", "A..B", "frames to play, inclusive (default 0..59)"},
    {"--motion", "KEYS", "the emitter's keys \"f:x,y,z:h,p,b;...\", linear between keys (with --object)"},
    {"--fps", "N", "frames per second: frame f plays at time f / N (default 30)"},
    {"--interface", "1|2", "handler interface version to activate (default 2)"},
    {"--module", "PATH", "module file (default: plof.p beside plof-host)"},
    {"--out", "FILE", "write the CSV to FILE instead of standard output"},
    {"--save-scene", "FILE", "afterwards, write the host scene (with the effect's saved lines) to FILE"},
    {"--panel-script", "FILE", "first perform this panel script on the options panel of the first item with the effect"},
    {"--objects-dir", "DIR", "the host's \"Objects\" directory (default: the current directory)"},
    {"--scenes-dir", "DIR", "the host's \"Scenes\" directory (default: the current directory)"},
};

int runPlay(const ParsedArguments &arguments) {
    const bool fromObject = arguments.has("--object");
    if (fromObject == (arguments.positional.size() == 1) || arguments.positional.size() > 1) {
        throw UsageError("play needs either --object PATH --settings FILE.plf, or one SCENE.lws");
    }
    if (!fromObject && (arguments.has("--settings") || arguments.has("--motion"))) {
        throw UsageError("--settings and --motion go with --object; a scene holds its own");
    }
    const FrameRange frames =
        arguments.has("--frames") ? parseFrameRange("--frames", *arguments.value("--frames")) : FrameRange{};
    const double fps = arguments.has("--fps") ? parsePositive("--fps", *arguments.value("--fps")) : 30.0;
    int interfaceVersion = 2;
    if (const auto version = arguments.value("--interface")) {
        if (*version != "1" && *version != "2") {
            throw UsageError("--interface needs 1 or 2, got \"" + *version + "\"");
        }
        interfaceVersion = *version == "1" ? 1 : 2;
    }
    const std::string objectsDirectory = arguments.value("--objects-dir").value_or("");

    // A bad script is reported before anything is loaded.
    std::optional<PanelSession> panelSession;
    if (const auto scriptPath = arguments.value("--panel-script")) {
        panelSession.emplace();
        panelSession->script = readScriptOrThrow(*scriptPath);
    }

    HostScene scene;
    if (fromObject) {
        scene = emitterScene(arguments, fps, true, frames);
    } else {
        std::vector<std::string> warnings;
        scene = readSceneFile(arguments.positional.front(), objectsDirectory, warnings);
        for (const std::string &warning : warnings) {
            printWarning(warning);
        }
    }

    const auto module = LoadedModule::open(modulePath(arguments));
    HostServices services(scene, fps);
    if (!objectsDirectory.empty()) {
        services.setDirectory("Objects", objectsDirectory);
    }
    if (const auto scenes = arguments.value("--scenes-dir")) {
        services.setDirectory("Scenes", *scenes);
    }
    if (panelSession) {
        // The module keeps the dialog it finds when its handler is activated.
        providePanelServices();
        provideScriptedFileRequest();
    }
    const EffectHandler handler(*module, interfaceVersion);
    EffectPlayer player(handler, scene, services);
    if (panelSession) {
        std::size_t edited = 0;
        while (edited < scene.items.size() && !player.instance(edited)) {
            ++edited;
        }
        if (edited == scene.items.size()) {
            throw UsageError("--panel-script: no item of the scene carries the effect");
        }
        // The host shows the scene at its first frame before the options can be opened.
        player.runEffects(frames.first, frames.first / fps);
        services.setCurrentItem(static_cast<PlofItemId>(edited + 1));
        panelSession->particles = scene.items[edited].pointCount();
        runOptionsPanel(*module, player.instance(edited), *panelSession);
        services.setCurrentItem(0);
    }
    for (const std::string &warning : player.warnings()) {
        printWarning(warning);
    }

    // Opened only now, so that bad input or a module that cannot run leaves
    // no empty output file behind.
    std::FILE *out = stdout;
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> outFile(nullptr, &std::fclose);
    if (const auto outPath = arguments.value("--out")) {
        outFile.reset(std::fopen(outPath->c_str(), "wb"));
        if (!outFile) {
            throw std::runtime_error(*outPath + ": cannot open the output file for writing");
        }
        out = outFile.get();
    }
    PointsCsv csv(out, scene);
    std::size_t pointsPerFrame = 0;
    for (const HostItem &item : scene.items) {
        pointsPerFrame += std::max<std::size_t>(1, item.points.size() / 3);
    }
    const double frameCount = static_cast<double>(frames.last) - frames.first + 1.0;
    const bool progress = standardErrorIsTerminal() && frameCount * static_cast<double>(pointsPerFrame) > kProgressWork;
    for (int64_t frame = frames.first; frame <= frames.last; ++frame) {
        const auto f = static_cast<int32_t>(frame);
        const double time = f / fps;
        player.playFrame(f, time);
        for (std::size_t i = 0; i < scene.items.size(); ++i) {
            csv.writeItem(f, i, player.worldPoints(i));
        }
        if (progress) {
            std::fprintf(stderr, "\rplof-host: frame %d of %d..%d", f, frames.first, frames.last);
        }
    }
    if (progress) {
        std::fputs("\n", stderr);
    }
    if (!csv.flush()) {
        throw std::runtime_error("writing the points failed (" + arguments.value("--out").value_or("standard output") +
                                 ")");
    }
    if (const auto scenePath = arguments.value("--save-scene")) {
        player.saveInstances();
        try {
            writeSceneFile(scene, *scenePath);
        } catch (const InputError &error) {
            throw std::runtime_error(error.what());  // an output failure, not bad input
        }
    }
    return kExitOk;
}

const std::string kPlayDetails = std::string(
    "Plays frames A..B of a scene through the effect, as the 3D host does: per frame\n"
    "newTime, then evaluate once per point in point order. Frame f plays at time\n"
    "f / fps seconds.\n"
    "\n"
    "With --object, the scene is one object named \"Emitter\" carrying the effect,\n"
    "still at the origin or moving linearly between its --motion keys, whose\n"
    "instance loads the .plf file's lines as it loads its block from a scene.\n"
    "\n"
    "Output (CSV, one row per frame and point): frame,point,x,y,z for one item,\n"
    "else frame,item,point,x,y,z with item the 1-based number in scene order, plus\n"
    "a dissolve column when any item has a dissolve envelope. x, y, z are world\n"
    "coordinates; an item without points gives one row, point 0, at its pivot.\n"
    "\n"
    "Built-in shapes (for --object, or LoadObject in a scene):\n") +
    kBuiltinShapesHelp +
    "\n"
    "A .plf file holds the same lines as the effect's block in a scene (Regist as\n"
    "stored, not the panel's 20 x Regist). Every setting, its unit, range and\n"
    "default, and how the settings interact: docs/settings.md.\n"
    "\n"
    "Scenes: LWSC text. Rotation is heading, pitch, bank in degrees (heading about\n"
    "+Y, then pitch, then bank); a parent's motion carries its children. Keys\n"
    "follow TCB splines, or straight lines into keys whose linear flag is 1.\n";

}  // namespace

extern const Command kPlayCommand;
const Command kPlayCommand{
    "play",
    "play a scene (or one emitter object) through the effect; print every point as CSV",
    "play --object PATH --settings FILE.plf [--frames A..B] [--motion KEYS] [OPTIONS]\n"
    "play SCENE.lws [--frames A..B] [OPTIONS]",
    kPlayDetails.c_str(),
    kPlayFlags,
    &runPlay,
};

}  // namespace plof::tools
