// plof-host export, read back with tinygltf: every node's translation at
// every frame is the played position rounded once to float32 (z negated);
// resting points and dissolved items have scale 0 exactly where play says
// so; a baked scene's particles keep their keyed rotation and scale (the
// page of --html is tested in a browser: tests/browser). Every file written
// stays under exported/ in the build tree, where the CTest entry
// gltf_validation runs the Khronos glTF-Validator on each.
#include <tiny_gltf.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "host/gltf/gltf_transform.h"
#include "host/scene/item_objects.h"
#include "host/scene/scene_poses.h"
#include "host_run.h"

namespace plof::e2e {
namespace {

namespace fs = std::filesystem;

// The directory of this test's exports: emptied now, kept afterwards.
fs::path exportDirectory() {
    const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path directory = fs::path(PLOF_BIN_DIR).parent_path() / "exported" / (std::string(test->name()));
    fs::remove_all(directory);
    fs::create_directories(directory);
    return directory;
}

tinygltf::Model readGltf(const fs::path &path) {
    tinygltf::TinyGLTF loader;
    tinygltf::Model model;
    std::string error, warning;
    const bool read = path.extension() == ".glb" ? loader.LoadBinaryFromFile(&model, &error, &warning, path.string())
                                                 : loader.LoadASCIIFromFile(&model, &error, &warning, path.string());
    EXPECT_TRUE(read) << path << ": " << error << warning;
    return model;
}

std::vector<float> floats(const tinygltf::Model &model, int index) {
    const tinygltf::Accessor &accessor = model.accessors.at(static_cast<std::size_t>(index));
    const tinygltf::BufferView &view = model.bufferViews.at(static_cast<std::size_t>(accessor.bufferView));
    EXPECT_EQ(accessor.componentType, TINYGLTF_COMPONENT_TYPE_FLOAT);
    const std::size_t count =
        accessor.count * static_cast<std::size_t>(tinygltf::GetNumComponentsInType(accessor.type));
    std::vector<float> values(count);
    std::memcpy(values.data(), model.buffers[0].data.data() + view.byteOffset + accessor.byteOffset,
                count * sizeof(float));
    return values;
}

struct Track {
    std::string interpolation;
    std::vector<float> times;
    std::vector<float> values;
};

// The animation's track of `path` for node `node`; empty when there is none.
Track track(const tinygltf::Model &model, int node, const std::string &path) {
    const tinygltf::Animation &animation = model.animations.at(0);
    for (const tinygltf::AnimationChannel &channel : animation.channels) {
        if (channel.target_node != node || channel.target_path != path) continue;
        const tinygltf::AnimationSampler &sampler = animation.samplers.at(static_cast<std::size_t>(channel.sampler));
        return {sampler.interpolation, floats(model, sampler.input), floats(model, sampler.output)};
    }
    return {};
}

// The STEP scale track's value at `time`.
std::array<float, 3> scaleAt(const Track &scale, float time) {
    std::size_t key = 0;
    while (key + 1 < scale.times.size() && scale.times[key + 1] <= time) ++key;
    return {scale.values[key * 3], scale.values[key * 3 + 1], scale.values[key * 3 + 2]};
}

constexpr std::array<float, 3> kHidden{0.0F, 0.0F, 0.0F};
constexpr std::array<float, 3> kShown{1.0F, 1.0F, 1.0F};

float frameTime(int frame) { return static_cast<float>(frame / 30.0); }

// Rows of `play` in frame order: frame, item, point, x, y, z[, dissolve].
Csv played(const std::string &arguments, const TempDirectory &directory) {
    const HostRun run = runHost("play " + arguments, directory);
    EXPECT_EQ(run.exitCode, kExitOk) << run.err;
    return parseCsv(run.out);
}

// The CSV row of each node in scene order: a point of an item with the
// effect, or the pivot row of an item without points; -1 for an item whose
// CSV rows are its own points (its node is at its pivot).
std::vector<int> nodeRows(const host::HostScene &scene) {
    std::vector<int> rows;
    int row = 0;
    for (const host::HostItem &item : scene.items) {
        const int points = std::max(1, item.pointCount());
        if (item.hasEffect || item.pointCount() == 0) {
            for (int p = 0; p < points; ++p) rows.push_back(row + p);
        } else {
            rows.push_back(-1);
        }
        row += points;
    }
    return rows;
}

TEST(Export, TranslationsAreThePlayedPositionsRoundedOnce) {
    TempDirectory directory;
    const fs::path out = exportDirectory();
    const fs::path scenePath = PLOF_SOURCE_DIR "/examples/fountain.lws";
    const std::string scene = "'" + scenePath.string() + "' --frames 0..59";
    const Csv csv = played(scene, directory);
    ASSERT_EQ(csv.rows.size() % 60, 0u);
    const std::size_t rowsPerFrame = csv.rows.size() / 60;
    std::vector<std::string> warnings;
    const host::HostScene hostScene = host::readSceneFile(scenePath.string(), "", warnings);
    const std::vector<int> rows = nodeRows(hostScene);
    for (const char *name : {"fountain.glb", "fountain.gltf"}) {
        const HostRun run = runHost("export " + scene + " --out '" + (out / name).string() + "'", directory);
        ASSERT_EQ(run.exitCode, kExitOk) << run.err;
        EXPECT_NE(run.err.find("plof-host: wrote " + (out / name).string() + " (frames 0..59)\n"), std::string::npos)
            << run.err;
        const tinygltf::Model model = readGltf(out / name);
        ASSERT_EQ(model.nodes.size(), rows.size()) << name;
        EXPECT_EQ(model.asset.extras.Get("framesPerSecond").GetNumberAsDouble(), 30.0);
        EXPECT_EQ(model.asset.extras.Get("lastFrame").GetNumberAsInt(), 59);
        for (std::size_t n = 0; n < rows.size(); ++n) {
            const Track translation = track(model, static_cast<int>(n), "translation");
            ASSERT_EQ(translation.values.size(), 60u * 3u) << model.nodes[n].name;
            EXPECT_EQ(translation.interpolation, "LINEAR");
            if (rows[n] < 0) continue;
            for (int frame = 0; frame < 60; ++frame) {
                const std::vector<double> &row =
                    csv.rows[static_cast<std::size_t>(frame) * rowsPerFrame + static_cast<std::size_t>(rows[n])];
                EXPECT_EQ(translation.times[static_cast<std::size_t>(frame)], frameTime(frame));
                const float *value = &translation.values[static_cast<std::size_t>(frame) * 3];
                EXPECT_EQ(value[0], static_cast<float>(row[3])) << model.nodes[n].name << " frame " << frame;
                EXPECT_EQ(value[1], static_cast<float>(row[4])) << model.nodes[n].name << " frame " << frame;
                EXPECT_EQ(value[2], -static_cast<float>(row[5])) << model.nodes[n].name << " frame " << frame;
            }
        }
        EXPECT_EQ(model.nodes[0].name, hostScene.items[0].name + " 0");
    }
}

// A grid of many points, written in many pieces: both containers read back
// with every node's name and every translation as played.
TEST(Export, ManyPointsReadBackAsPlayedFromBothContainers) {
    TempDirectory directory;
    const std::size_t points = 150 * 150;
    const std::string scene =
        "--object builtin:grid:150x150 --settings '" PLOF_SOURCE_DIR "/examples/settings/fountain.plf' --frames 0..3";
    const Csv csv = played(scene, directory);
    ASSERT_EQ(csv.rows.size(), points * 4);
    const fs::path exported = exportDirectory();
    for (const char *name : {"grid.glb", "grid.gltf"}) {
        const fs::path out = exported / name;
        const HostRun run = runHost("export " + scene + " --out '" + out.string() + "'", directory);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const tinygltf::Model model = readGltf(out);
        ASSERT_EQ(model.nodes.size(), points) << name;
        EXPECT_EQ(model.nodes[points - 1].name, "Emitter " + std::to_string(points - 1));
        std::size_t checked = 0;
        for (const tinygltf::AnimationChannel &channel : model.animations.at(0).channels) {
            if (channel.target_path != "translation") continue;
            const auto node = static_cast<std::size_t>(channel.target_node);
            const std::vector<float> values =
                floats(model, model.animations[0].samplers.at(static_cast<std::size_t>(channel.sampler)).output);
            ASSERT_EQ(values.size(), 12u) << name << " node " << node;
            for (std::size_t frame = 0; frame < 4; ++frame) {
                const std::vector<double> &row = csv.rows.at(frame * points + node);
                ASSERT_EQ(row.at(1), static_cast<double>(node));  // frame, point, x, y, z
                ASSERT_EQ(values[frame * 3], static_cast<float>(row[2])) << name << " node " << node;
                ASSERT_EQ(values[frame * 3 + 1], static_cast<float>(row[3])) << name << " node " << node;
                ASSERT_EQ(values[frame * 3 + 2], -static_cast<float>(row[4])) << name << " node " << node;
            }
            ++checked;
        }
        EXPECT_EQ(checked, points) << name;
    }
}

TEST(Export, RestingPointsHaveScaleZero) {
    // One particle a frame from frame 10, each flying 5 frames after its
    // birth frame (where it is hidden), then resting at the pivot for good.
    TempDirectory directory;
    Settings settings;
    settings.START_F = 10;
    settings.AgeMin = settings.AgeMax = 5;
    directory.write("s.plf", settings.text());
    const fs::path out = exportDirectory() / "line.glb";
    const HostRun run = runHost(
        "export --object builtin:line:3 --settings s.plf --frames 0..29 --marker-size 0.5 "
        "--out '" +
            out.string() + "'",
        directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    const tinygltf::Model model = readGltf(out);
    ASSERT_EQ(model.nodes.size(), 3u);
    for (int point = 0; point < 3; ++point) {
        const Track scale = track(model, point, "scale");
        EXPECT_EQ(scale.interpolation, "STEP");
        for (int frame = 0; frame < 30; ++frame) {
            const bool flying = frame > 10 + point && frame <= 15 + point;
            EXPECT_EQ(scaleAt(scale, frameTime(frame)), flying ? kShown : kHidden)
                << "point " << point << " frame " << frame;
        }
    }
    // The marker: an icosahedron of diameter 0.5.
    const std::vector<float> corners = floats(model, model.meshes.at(0).primitives.at(0).attributes.at("POSITION"));
    ASSERT_EQ(corners.size(), 36u);
    for (std::size_t v = 0; v < 12; ++v) {
        EXPECT_NEAR(std::hypot(corners[v * 3], corners[v * 3 + 1], corners[v * 3 + 2]), 0.25, 1e-6);
    }
}

TEST(Export, BakedParticlesKeepTheirKeysRotationScaleAndDissolve) {
    TempDirectory directory;
    Settings settings;
    settings.START_F = 3;
    settings.Birth = 12;
    settings.AgeMin = settings.AgeMax = 12;
    settings.Regist = 0.5;
    directory.write("s.plf", settings.text());
    const HostRun bake = runHost(
        "bake --object builtin:line:4 --settings s.plf --frames 30 --step 1 --dissolve "
        "--scale --hpb-min 10,-20,30 --hpb-max 90,40,200 --out baked.lws "
        "--motion '0:0,0,0:0,0,0;30:3,0,0:90,0,0'",
        directory);
    ASSERT_EQ(bake.exitCode, kExitOk) << bake.err;
    const Csv csv = played("baked.lws --frames 0..29", directory);
    ASSERT_EQ(csv.header, "frame,item,point,x,y,z,dissolve");
    const fs::path out = exportDirectory() / "baked.glb";
    const HostRun run = runHost("export baked.lws --frames 0..29 --out '" + out.string() + "'", directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    const tinygltf::Model model = readGltf(out);

    // The host's own poses of the baked items, turned into glTF's terms.
    std::vector<std::string> warnings;
    const host::HostScene scene = host::readSceneFile(directory / "baked.lws", "", warnings);
    host::ScenePoses poses(scene, 30.0);
    ASSERT_EQ(model.nodes.size(), 5u);  // the null, then four particles
    EXPECT_LT(model.nodes[0].mesh, 0);
    int hiddenFrames = 0;
    for (int item = 0; item < 5; ++item) {
        const Track translation = track(model, item, "translation");
        const Track rotation = track(model, item, "rotation");
        const Track scale = track(model, item, "scale");
        ASSERT_EQ(rotation.values.size(), 30u * 4u);
        for (int frame = 0; frame < 30; ++frame) {
            const std::vector<double> &row = csv.rows[static_cast<std::size_t>(frame * 5 + item)];
            const auto f = static_cast<std::size_t>(frame);
            EXPECT_EQ(translation.values[f * 3 + 2], -static_cast<float>(row[5]));
            const host::GltfTransform want =
                host::gltfTransform(poses.at(static_cast<std::size_t>(item), frame / 30.0));
            // q and -q are one turn: the file keeps neighbouring keys on one side.
            float dot = 0.0F;
            for (std::size_t c = 0; c < 4; ++c) dot += rotation.values[f * 4 + c] * want.rotation[c];
            const float sign = dot < 0.0F ? -1.0F : 1.0F;
            for (std::size_t c = 0; c < 4; ++c) {
                EXPECT_EQ(rotation.values[f * 4 + c], sign * want.rotation[c]) << "item " << item << " frame " << frame;
            }
            const bool dissolved = row[6] >= 1.0;
            hiddenFrames += dissolved ? 1 : 0;
            EXPECT_EQ(scaleAt(scale, frameTime(frame)), dissolved ? kHidden : want.scale)
                << "item " << item << " frame " << frame;
        }
    }
    EXPECT_GT(hiddenFrames, 30);
    EXPECT_LT(hiddenFrames, 4 * 30);
}

TEST(Export, PositionsBeyondFloat32AreHiddenAtTheOrigin) {
    // glTF holds float32 only: a null keyed at 1e39 has no place in the file.
    TempDirectory directory;
    directory.write("far.lws",
                    "LWSC\n1\n\nFirstFrame 0\nLastFrame 2\n\nAddNullObject Far\nObjectMotion (unnamed)\n"
                    "  9\n  2\n  1 2 3 0 0 0 1 1 1\n  0 0 0 0 0\n  1e39 2 3 0 0 0 1 1 1\n  2 1 0 0 0\n"
                    "EndBehavior 1\n");
    const fs::path out = exportDirectory() / "far.glb";
    const HostRun run = runHost("export far.lws --out '" + out.string() + "'", directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_NE(run.err.find("beyond float32"), std::string::npos) << run.err;
    const tinygltf::Model model = readGltf(out);
    const Track translation = track(model, 0, "translation");
    EXPECT_EQ(translation.values, (std::vector<float>{1, 2, -3, 0, 0, 0, 0, 0, 0}));
    const Track scale = track(model, 0, "scale");
    EXPECT_EQ(scaleAt(scale, frameTime(0)), kShown);
    EXPECT_EQ(scaleAt(scale, frameTime(1)), kHidden);
}

TEST(Export, RefusesWhatItCannotWrite) {
    TempDirectory directory;
    const std::string object = "export --object builtin:line:2 --settings s.plf ";
    directory.write("s.plf", Settings().text());
    for (const char *arguments : {"--out points.png", "--out x.glb --marker-size 0", ""}) {
        const HostRun run = runHost(object + arguments, directory);
        EXPECT_EQ(run.exitCode, kExitUsage) << arguments << ": " << run.err;
    }
    EXPECT_NE(runHost(object + "--out x.obj", directory).err.find(".glb or .gltf"), std::string::npos);
    const HostRun missing = runHost(object + "--out no/such/dir/x.glb", directory);
    EXPECT_EQ(missing.exitCode, kExitFailure);
    EXPECT_NE(missing.err.find("no/such/dir/x.glb"), std::string::npos) << missing.err;
    directory.write("empty.lws", "LWSC\n1\n\nFirstFrame 0\nLastFrame 5\n");
    const HostRun empty = runHost("export empty.lws --out empty.glb", directory);
    EXPECT_EQ(empty.exitCode, kExitBadInput) << empty.err;
    EXPECT_FALSE(fs::exists(directory.path() / "empty.glb"));
}

// Names in the host's code page become UTF-8 node names; a range ending at
// the last 32-bit frame is counted without overflow, and refused where
// float32 times cannot hold it.
TEST(Export, CodePageNamesAndTheLastFrames) {
    TempDirectory directory;
    directory.write("D\xfcse.obj", "v 0 0 0\n");
    directory.write("s.lws", "LWSC\n1\n\nLoadObject D\xfcse.obj\nPlugin DisplacementHandler 1 PLOF!\n" +
                                 Settings().text() + "EndPlugin\n");
    const fs::path out = exportDirectory() / "names.gltf";
    const HostRun run = runHost("export s.lws --frames 2147483647..2147483647 --out '" + out.string() + "'", directory);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const tinygltf::Model model = readGltf(out);
    EXPECT_EQ(model.nodes.at(0).name, "D\xc3\xbcse 0");
    EXPECT_EQ(model.asset.extras.Get("lastFrame").GetNumberAsInt(), 2147483647);
    // There float32 times of neighbouring frames are one: refused.
    const HostRun close = runHost("export s.lws --frames 2147483645..2147483647 --out x.glb", directory);
    EXPECT_EQ(close.exitCode, 2);
    EXPECT_NE(close.err.find("float32 times cannot tell them apart"), std::string::npos) << close.err;
}

// Requests that cannot be met are refused before any file is touched.
TEST(Export, RefusesUpFrontAndWritesAllFilesOrNone) {
    TempDirectory directory;
    directory.write("s.plf", Settings().text());
    const std::string object = "export --object builtin:line:2 --settings s.plf ";
    for (const char *size : {"1e39", "1e300"}) {
        const HostRun run = runHost(object + "--out x.glb --marker-size " + std::string(size), directory);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_NE(run.err.find("beyond float32"), std::string::npos) << run.err;
    }
    // The viewer is built only where its npm packages are installed.
    if (fs::exists(fs::path(PLOF_BIN_DIR) / "viewer/index.html")) {
        directory.write("x.glb", "old");
        fs::create_directory(directory.path() / "x.html");
        const HostRun html = runHost(object + "--out x.glb --html", directory);
        EXPECT_EQ(html.exitCode, 4);
        EXPECT_NE(html.err.find("x.html: cannot write (Is a directory)"), std::string::npos) << html.err;
        EXPECT_EQ(fileText(directory.path() / "x.glb"), "old");
        EXPECT_FALSE(fs::exists(directory.path() / "x.glb.js"));
        EXPECT_FALSE(fs::exists(directory.path() / "plof-viewer.js"));
    }

    // A plof-host without its viewer says what to do, before writing anything.
    fs::create_directory(directory.path() / "bin");
    for (const char *name : {"plof-host", "plof.p"}) {
        fs::copy_file(fs::path(PLOF_BIN_DIR) / name, directory.path() / "bin" / name);
    }
    const std::string command =
        "cd '" + directory.path().string() + "' && bin/plof-host " + object + "--out y.glb --html 2>err.txt";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 4);
    EXPECT_NE(fileText(directory.path() / "err.txt").find("viewer/index.html is missing"), std::string::npos);
    EXPECT_FALSE(fs::exists(directory.path() / "y.glb"));
}

}  // namespace
}  // namespace plof::e2e
