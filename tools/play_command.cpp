// plof-host play: plays a scene's frames through the effect and writes every
// point's world position as CSV.
#include "play_command.h"

#include <cstdio>
#include <memory>

#include "arguments.h"
#include "command.h"
#include "host/base/host_error.h"
#include "host/files/output_file.h"
#include "host/run/playback.h"
#include "host/run/points_csv.h"
#include "playback_flags.h"

namespace plof::tools {

namespace {

using namespace plof::host;

const std::vector<FlagSpec> kPlayFlags = withPlaybackFlags({
    {"--out", "FILE", "write the CSV to FILE instead of standard output"},
    {"--save-scene", "FILE", "afterwards, write the host scene (with the effect's saved lines) to FILE"},
});

// Standard output, or a file that replaces the old one only when complete.
class CsvOutput {
public:
    explicit CsvOutput(const std::optional<std::string> &path) {
        if (path) file_ = std::make_unique<OutputFile>(*path);
    }
    void write(std::string_view bytes) {
        if (file_) {
            file_->write(bytes);
        } else if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
            failed_ = true;
        }
    }
    void finish() {
        if (file_) {
            file_->commit();
        } else if (std::fflush(stdout) != 0 || failed_) {
            throw OutputError("standard output: writing the points failed");
        }
    }

private:
    std::unique_ptr<OutputFile> file_;
    bool failed_ = false;
};

int runPlay(const ParsedArguments &arguments) {
    Playback playback(readPlaybackInputs("play", arguments));
    const HostScene &scene = playback.scene();
    // Opened only now, so that bad input or a module that cannot run leaves
    // the output file as it was.
    CsvOutput output(arguments.value("--out"));
    PointsCsv csv([&output](std::string_view bytes) { output.write(bytes); }, scene);
    playback.play([&](int32_t frame) {
        for (std::size_t i = 0; i < scene.items.size(); ++i) csv.writeItem(frame, i, playback.worldPoints(i));
    });
    csv.flush();
    output.finish();
    if (const auto scenePath = arguments.value("--save-scene")) playback.saveScene(*scenePath);
    return kExitOk;
}

// The built-in shapes of host/objects/builtin_shapes.h, as a person writes them.
const char *const kBuiltinShapesHelp =
    "  builtin:grid:WxH    W x H points one unit apart on the XZ plane, centred on the origin\n"
    "  builtin:line:N      N points one unit apart along +X, the first at the origin\n"
    "  builtin:sphere:N    N points spread evenly over the sphere of radius 1\n"
    "  builtin:box:N       N points spread through the cube of side 1 centred on the origin\n";

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
                                 "stored, not the panel's 20 x Regist). Every setting, its unit and how the\n"
                                 "settings work together: docs/settings.md.\n"
                                 "\n"
                                 "Scenes: LWSC text. Rotation is heading, pitch, bank in degrees (heading about\n"
                                 "+Y, then pitch, then bank); a parent's motion carries its children. Keys\n"
                                 "follow TCB splines, or straight lines into keys whose linear flag is 1.\n";

const std::string kPlayUsage = playbackUsage("play", kPlayFlags, "[--out]");

}  // namespace

const Command kPlayCommand{
    "play",
    "play a scene (or one emitter object) through the effect; print every point as CSV",
    kPlayUsage.c_str(),
    kPlayDetails.c_str(),
    kPlayFlags,
    &runPlay,
};

}  // namespace plof::tools
