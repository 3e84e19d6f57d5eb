// plof-host export: plays a scene's frames and writes them as an animated
// glTF 2.0 file, optionally with the viewer page beside it.
#include "export_command.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>

#include "arguments.h"
#include "command.h"
#include "host/base/file_extension.h"
#include "host/base/host_error.h"
#include "host/files/output_file.h"
#include "host/gltf/gltf_file.h"
#include "host/run/export_recorder.h"
#include "host/run/playback.h"
#include "playback_flags.h"
#include "shared_options.h"
#include "viewer_page.h"

namespace plof::tools {

namespace {

using namespace plof::host;

const std::vector<FlagSpec> kExportFlags = withPlaybackFlags({
    {"--out", "FILE.glb|FILE.gltf", "the glTF file: binary (.glb) or JSON with the data embedded (.gltf)"},
    {"--marker-size", "S", "diameter of the marker each point carries (default: 1/100 of the effect's extent)"},
    {"--html", nullptr, "also write FILE.html, a page that plays the file in a browser (with its scripts)"},
});

GltfContainer containerOf(const std::string &path) {
    if (host::hasExtension(path, ".glb")) return GltfContainer::binary;
    if (host::hasExtension(path, ".gltf")) return GltfContainer::text;
    throw UsageError("--out needs a file name ending in .glb or .gltf, got \"" + path + "\"");
}

int runExport(const ParsedArguments &arguments) {
    const auto out = arguments.value("--out");
    if (!out) throw UsageError("export needs --out FILE.glb or --out FILE.gltf");
    const GltfContainer container = containerOf(*out);
    std::optional<float> markerSize;
    if (const auto size = arguments.value("--marker-size")) {
        const double wanted = parsePositive("--marker-size", *size);
        // The marker's vertices are float32, as glTF holds them.
        if (wanted > static_cast<double>(std::numeric_limits<float>::max())) {
            throw UsageError("--marker-size " + *size + " is beyond float32 (at most 3.4e38); give a smaller size");
        }
        markerSize = static_cast<float>(wanted);
    }
    // Every file is opened before anything is played, and all are written
    // before any replaces what was there.
    std::optional<ViewerPageFiles> page;
    if (arguments.has("--html")) page.emplace(*out);
    OutputFile file(*out);

    Playback playback(readPlaybackInputs("export", arguments));
    if (playback.scene().items.empty()) {
        // glTF has no valid form for an animation of nothing.
        throw InputError(arguments.positional.front() + ": the scene has no items, so there is nothing to export");
    }
    try {
        const AnimatedScene scene = recordExport(playback, markerSize);
        writeGltf(scene, container, file);
        file.close();
        if (page) page->write(scene);
    } catch (const RequestError &tooMuch) {
        // The host says what to export instead; the command line says how.
        throw UsageError(std::string(tooMuch.what()) + " (--frames)");
    } catch (const std::bad_alloc &) {
        // The estimate up front (ExportRecorder) leaves room for other programs' use only.
        std::size_t points = 0;
        for (const HostItem &item : playback.scene().items) {
            points += static_cast<std::size_t>(std::max(1, item.pointCount()));
        }
        throw std::runtime_error("export: out of memory for " + std::to_string(points) + " points x " +
                                 std::to_string(playback.frameCount()) +
                                 " frames; export fewer frames (--frames) or points");
    }
    file.commit();
    std::fprintf(stderr, "plof-host: wrote %s (frames %d..%d)\n", out->c_str(), playback.frames().first,
                 playback.frames().last);
    if (page) {
        page->commit();
        std::fprintf(stderr, "plof-host: wrote %s, %s and %s beside it; open %s in a browser\n",
                     page->pagePath().c_str(), page->bundlePath().c_str(), page->dataPath().c_str(),
                     page->pagePath().c_str());
    }
    return kExitOk;
}

const std::string kExportDetails =
    "Plays frames A..B of a scene as play does and writes them as a glTF 2.0 file\n"
    "that Blender, game engines and web pages open.\n"
    "\n"
    "Each point of an item carrying the effect becomes a node named after the item\n"
    "and the point number (\"spout 12\"), carrying a small marker (an icosahedron\n"
    "of --marker-size). Every other item (a baked particle object, a null, a plain\n"
    "object) becomes one node with its position, rotation and scale. One animation\n"
    "holds a key at every frame f, at time f / fps seconds: translations (and\n"
    "rotations) LINEAR; scale STEP, 0 where the point rests (it is not in flight)\n"
    "or its item is fully dissolved, so hidden points do not sit at the pivot.\n"
    "Values are float32, each the played double rounded once.\n"
    "\n"
    "The host's axes are left-handed, glTF's right-handed: the file holds\n"
    "(x, y, -z) and rotations mirrored alike, so the effect looks the same. The\n"
    "frame rate and range are in the asset's extras (framesPerSecond, firstFrame,\n"
    "lastFrame).\n"
    "\n"
    "With --html, beside FILE.glb: FILE.html, plof-viewer.js and FILE.glb.js (the\n"
    "data again, as a script: browsers let a page opened from disk read scripts\n"
    "only). The page opens from disk or from any static web server; it also\n"
    "opens any other .glb given as ?file=NAME or dropped on it.\n";

const std::string kExportUsage = playbackUsage("export", kExportFlags, "--out [--html]");

}  // namespace

const Command kExportCommand{
    "export",
    "play a scene through the effect and write it as an animated glTF file (and a viewer page)",
    kExportUsage.c_str(),
    kExportDetails.c_str(),
    kExportFlags,
    &runExport,
};

}  // namespace plof::tools
