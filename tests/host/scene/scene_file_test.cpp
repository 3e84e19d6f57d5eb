#include "host/scene/item_objects.h"
#include "host/scene/scene_reader.h"
#include "host/scene/scene_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/base/host_error.h"
#include "host/files/file_bytes.h"

namespace plof::host {
namespace {

std::string crlf(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

// A scene as the effect's bake writes it, plus an emitter carrying the effect
// and lines the host does not interpret.
const std::string kScene =
    "LWSC\n"
    "1\n"
    "\n"
    "FirstFrame 1\n"
    "FramesPerSecond 30.000000\n"
    "\n"
    "AddNullObject PLOF_NULL\n"
    "ShowObject 8 7\n"
    "ObjectMotion (unnamed)\n"
    "  9\n"
    "  1\n"
    "  0.000000 1.000000 0.000000 0.000000 0.000000 0.000000 1.000000 1.000000 1.000000\n"
    "  0 0 0 0 0\n"
    "EndBehavior 1\n"
    "ShadowOptions 7\n"
    "\n"
    "LoadObject objects/drop.lwo\n"
    "ShowObject 8 7\n"
    "ObjectMotion (unnamed)\n"
    "  9\n"
    "  2\n"
    "  0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 1.000000 1.000000 1.000000\n"
    "  0 0 0 0 0\n"
    "  2.500000 -1.000000 0.000000 90.000000 0.000000 0.000000 1.000000 1.000000 1.000000\n"
    "  30 1 0.5 -0.25 1\n"
    "EndBehavior 1\n"
    "ObjDissolve (envelope)\n"
    "  1\n"
    "  2\n"
    "  1.0000\n"
    "  0 0 0 0 0\n"
    "  0.2500\n"
    "  12 0 0 0 0\n"
    "EndBehavior 1\n"
    "ParentObject 1\n"
    "Plugin DisplacementHandler 1 PLOF!\n"
    "PLOF_START\n"
    "V0Min 1.000000\n"
    "REFERENCE\n"
    "name with spaces\n"
    "PLOF_END\n"
    "EndPlugin\n"
    "Plugin ObjectReplacement 1 Other\n"
    "keep me\n"
    "EndPlugin\n"
    "ShadowOptions 7\n"
    "\n"
    "AmbientColor 255 255 255\n"
    "AddLight\n"
    "LightName Light\n";

TEST(SceneFileTest, ReadsItemsMotionDissolveParentAndEffectLines) {
    const HostScene scene = parseSceneText(kScene, "test.lws");
    ASSERT_EQ(scene.items.size(), 2u);
    const HostItem &null = scene.items[0];
    EXPECT_TRUE(null.isNull);
    EXPECT_EQ(null.name, "PLOF_NULL");
    ASSERT_EQ(null.motion.size(), 1u);
    EXPECT_EQ(null.motion[0].values[kY], 1.0);

    const HostItem &drop = scene.items[1];
    EXPECT_FALSE(drop.isNull);
    EXPECT_EQ(drop.name, "drop");
    EXPECT_EQ(drop.source, "objects/drop.lwo");
    EXPECT_EQ(drop.lineNumber, 17u);
    ASSERT_EQ(drop.motion.size(), 2u);
    EXPECT_EQ(drop.motion[1].frame, 30);
    EXPECT_EQ(drop.motion[1].linear, 1);
    EXPECT_EQ(drop.motion[1].values[kX], 2.5);
    EXPECT_EQ(drop.motion[1].values[kHeading], 90.0);
    EXPECT_EQ(drop.motion[1].tension, 0.5);
    EXPECT_EQ(drop.motion[1].continuity, -0.25);
    EXPECT_EQ(drop.motion[1].bias, 1.0);
    ASSERT_TRUE(drop.hasDissolve);
    ASSERT_EQ(drop.dissolve.size(), 2u);
    EXPECT_EQ(drop.dissolve[1].values[0], 0.25);
    EXPECT_EQ(drop.dissolve[1].frame, 12);
    EXPECT_EQ(drop.parent, 1);
    ASSERT_TRUE(drop.hasEffect);
    EXPECT_EQ(drop.effectLines,
              (std::vector<std::string>{"PLOF_START", "V0Min 1.000000", "REFERENCE", "name with spaces", "PLOF_END"}));
    EXPECT_TRUE(scene.hasDissolve());
    EXPECT_EQ(scene.closingLines,
              (std::vector<std::string>{"AmbientColor 255 255 255", "AddLight", "LightName Light"}));
}

TEST(SceneFileTest, WritesBackTheSameTextWithCrLfWhateverLineEndsItRead) {
    const std::string expected = crlf(kScene);
    EXPECT_EQ(sceneText(parseSceneText(kScene, "lf.lws")), expected);
    EXPECT_EQ(sceneText(parseSceneText(expected, "crlf.lws")), expected);
}

TEST(SceneFileTest, SavedEffectLinesReplaceTheReadOnes) {
    HostScene scene = parseSceneText(kScene, "test.lws");
    scene.items[1].effectLines = {"PLOF_START", "PLOF_END"};
    const std::string text = sceneText(scene);
    EXPECT_NE(text.find("Plugin DisplacementHandler 1 PLOF!\r\nPLOF_START\r\nPLOF_END\r\nEndPlugin\r\n"),
              std::string::npos);
    EXPECT_EQ(text.find("name with spaces"), std::string::npos);
}

TEST(SceneFileTest, MadeItemsWriteADefaultBlock) {
    HostScene scene;
    scene.header = defaultSceneHeader(0, 59, 24.0);
    HostItem item = makeObjectItem("Emitter", "builtin:line:2", {});
    MotionKey moved;
    moved.frame = 30;
    moved.linear = 1;
    moved.values[kX] = 3.0;
    item.motion = {MotionKey{}, moved};
    item.hasEffect = true;
    item.effectLines = {"PLOF_START", "PLOF_END"};
    scene.items.push_back(item);
    EXPECT_EQ(sceneText(scene),
              crlf("LWSC\n1\n\nFirstFrame 0\nLastFrame 59\nFrameStep 1\n"
                   "FramesPerSecond 24.000000\n\n"
                   "LoadObject builtin:line:2\nShowObject 8 7\nObjectMotion (unnamed)\n  9\n  2\n"
                   "  0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 1.000000 1.000000 1.000000\n"
                   "  0 0 0 0 0\n"
                   "  3.000000 0.000000 0.000000 0.000000 0.000000 0.000000 1.000000 1.000000 1.000000\n"
                   "  30 1 0 0 0\n"
                   "EndBehavior 1\nPlugin DisplacementHandler 1 PLOF!\nPLOF_START\nPLOF_END\n"
                   "EndPlugin\nShadowOptions 7\n\n"));
}

TEST(SceneFileTest, HeaderFramesAreSetInTheirLinesOrAddedBeforeTheHeadersEnd) {
    std::vector<std::string> header = defaultSceneHeader(0, 59, 30.0);
    setHeaderFrames(header, {5, 80}, 24.0);
    EXPECT_EQ(header, defaultSceneHeader(5, 80, 24.0));
    // A header without them; "FirstFrames" is another keyword.
    header = {"LWSC", "1", "FirstFrames 2", ""};
    setHeaderFrames(header, {-3, 4}, 0.5);
    EXPECT_EQ(header, (std::vector<std::string>{"LWSC", "1", "FirstFrames 2", "FirstFrame -3", "LastFrame 4",
                                                "FramesPerSecond 0.500000", ""}));
}

void expectError(const std::string &text, const std::string &expectedPart) {
    try {
        parseSceneText(text, "bad.lws");
        ADD_FAILURE() << "no error; expected one with: " << expectedPart;
    } catch (const InputError &error) {
        EXPECT_NE(std::string(error.what()).find(expectedPart), std::string::npos) << error.what();
    }
}

TEST(SceneFileTest, MalformedKnownLinesAreErrorsNamingFileAndLine) {
    const std::string head = "LWSC\n1\nLoadObject a.lwo\nObjectMotion (unnamed)\n";
    expectError("LWSB\n1\n", "bad.lws: line 1: not an LWSC scene");
    expectError(head + "  nine\n", "bad.lws: line 5: expected the channel count");
    expectError(head + "  9\n  -1\n", "bad.lws: line 6: expected the key count");
    expectError(head + "  9\n  1\n  1 2 3\n  0 0 0 0 0\nEndBehavior 1\n", "bad.lws: line 7: a key needs 9 values");
    expectError(head + "  9\n  1\n  1 2 3 4 5 6 7 8 x\n  0 0 0 0 0\nEndBehavior 1\n", "\"x\" is not a number");
    expectError(head + "  9\n  1\n  1 2 3 4 5 6 7 8 9\n  0.5 0 0 0 0\nEndBehavior 1\n", "line 8: a key's frame line");
    expectError(head + "  9\n  1\n  1 2 3 4 5 6 7 8 9\n  0 0 0 0 0\n", "line 9: the file ends where EndBehavior");
    expectError(head + "  9\n  5000\n", "line 6: the key count 5000 runs past the end of the file");
    expectError("LWSC\nLoadObject a.lwo\nParentObject x\n", "line 3: ParentObject needs an item number");
    expectError("LWSC\nLoadObject a.lwo\nParentObject 2\n", "line 3: ParentObject 2: the scene has only 1 items");
    expectError("LWSC\nLoadObject a.lwo\nParentObject 1\n", "line 3: ParentObject 1 makes the item its own ancestor");
    expectError("LWSC\nLoadObject a.lwo\nParentObject 2\n\nLoadObject b.lwo\nParentObject 1\n", "its own ancestor");
    expectError("LWSC\nLoadObject a.lwo\nPlugin DisplacementHandler 1 PLOF!\nPLOF_START\n",
                "line 3: no EndPlugin line closes this plug-in block");
    expectError("LWSC\nLoadObject \n", "line 2: LoadObject needs an object file");
    expectError(std::string("LWSC\n\0\n", 8), "binary data");
}

TEST(SceneFileTest, ScenesTheHostCannotReadAreRefusedWhereTheyGoWrong) {
    // A block left open is reported where it starts, not as the next item's fault.
    expectError(
        "LWSC\nLoadObject a.lwo\nPlugin DisplacementHandler 1 PLOF!\nPLOF_START\n\n"
        "AddNullObject n\nPlugin Other 1 x\nEndPlugin\nParentObject 1\n",
        "line 3: no EndPlugin line closes this plug-in block (the next item begins at line 6)");
    // A chain is never followed through a parent that is not there.
    expectError("LWSC\nLoadObject a.lwo\nParentObject 2\n\nLoadObject b.lwo\nParentObject 5\n",
                "line 6: ParentObject 5: the scene has only 2 items");
    // A quoted line is cut.
    expectError("LWSC\nLoadObject a.lwo\nParentObject " + std::string(100'000, '9') + "\n",
                "found \"ParentObject " + std::string(80 - 13, '9') + "...\"");
}

TEST(SceneFileTest, KeysOrParentsThatWouldPoseBeyondTheLargestValueAreRefused) {
    const std::string motion = "ObjectMotion (unnamed)\n  9\n  2\n";
    expectError("LWSC\nLoadObject a.lwo\n" + motion + "  1e308 0 0 0 0 0 1 1 1\n  0 1 0 0 0\n" +
                    "  -1e308 0 0 0 0 0 1 1 1\n  10 1 0 0 0\nEndBehavior 1\n",
                "bad.lws: line 3: between the keys at frames 0 and 10, position X goes beyond 1e+150");
    expectError("LWSC\nLoadObject a.lwo\nObjDissolve (envelope)\n  1\n  1\n  1e300\n  0 0 0 0 0\nEndBehavior 1\n",
                "line 3: the key at frame 0 sets dissolve beyond 1e+150");
    // Scales of 1e100 are each within range, their product is not.
    const std::string scaled = motion.substr(0, motion.size() - 2) +
                               "1\n  0 0 0 0 0 0 1e100 1 1\n  0 0 0 0 0\n"
                               "EndBehavior 1\n";
    expectError("LWSC\nAddNullObject a\n" + scaled + "\nAddNullObject b\n" + scaled + "ParentObject 1\n",
                "line 17: under its parents the item's world scale can go beyond 1e+150");
    const HostScene fine = parseSceneText("LWSC\nAddNullObject a\n" + scaled, "fine.lws");
    EXPECT_EQ(fine.items[0].motion[0].values[kScaleX], 1e100);
}

TEST(SceneFileTest, ConstantDissolveAndUnknownLinesAreKept) {
    const std::string text = "LWSC\nLoadObject a.lwo\nObjDissolve 0.5\nSomethingNew 1 2 3\n\nTrailer\n";
    const HostScene scene = parseSceneText(text, "x.lws");
    ASSERT_EQ(scene.items.size(), 1u);
    EXPECT_FALSE(scene.items[0].dissolveIsEnvelope);
    EXPECT_EQ(scene.items[0].dissolve[0].values[0], 0.5);
    EXPECT_FALSE(scene.items[0].hasMotionBlock);
    EXPECT_EQ(sceneText(scene), crlf("LWSC\nLoadObject a.lwo\nObjDissolve 0.500000\nSomethingNew 1 2 3\n\nTrailer\n"));
}

class SceneFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     ("plof_scene_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(directory_ / "objects");
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }
    std::string path(const std::string &name) const { return (directory_ / name).string(); }
    void write(const std::string &name, const std::string &text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }
    std::filesystem::path directory_;
};

TEST_F(SceneFilesTest, ObjectsAreFoundBesideTheSceneAndMissingOnesOnlyWarn) {
    write("objects/two.obj", "v 1 2 3\nv 4 5 6\n");
    write("scene.lws",
          "LWSC\nLoadObject objects/two.obj\n\nLoadObject none\n\nLoadObject builtin:line:3\n\n"
          "AddNullObject Null\n\nLoadObject none\n\nLoadObject gone.lwo\n");
    std::vector<std::string> warnings;
    const HostScene scene = readSceneFile(path("scene.lws"), "", warnings);
    ASSERT_EQ(scene.items.size(), 6u);
    EXPECT_EQ(scene.items[0].points, (std::vector<float>{1, 2, 3, 4, 5, 6}));
    // Where each was found, for a scene saved elsewhere to name it.
    EXPECT_EQ(scene.items[0].objectFile, path("objects/two.obj"));
    EXPECT_EQ(scene.items[2].objectFile, "");  // a built-in shape
    EXPECT_EQ(scene.items[5].objectFile, "");  // not found
    EXPECT_EQ(scene.items[1].pointCount(), 0);
    EXPECT_EQ(scene.items[2].pointCount(), 3);
    EXPECT_EQ(scene.items[3].pointCount(), 0);
    EXPECT_EQ(scene.items[4].pointCount(), 0);
    // One warning per missing file, however many items name it.
    ASSERT_EQ(warnings.size(), 2u);
    // Each says where it was looked for and how to add a folder.
    const std::string where =
        " (looked for beside the scene, in the current directory and in the \"Objects\" "
        "directory, the current directory; add a folder with --objects-dir DIR)";
    EXPECT_EQ(warnings[0],
              path("scene.lws") + ": line 4: object file \"none\" not found; its 2 items have no points" + where);
    EXPECT_EQ(warnings[1],
              path("scene.lws") + ": line 12: object file \"gone.lwo\" not found; the item has no points" + where);
}

TEST_F(SceneFilesTest, BadShapesNameTheSceneLineAndLongMissingNamesAreCut) {
    write("shape.lws", "LWSC\n1\n\nLoadObject builtin:cube:3\n");
    std::vector<std::string> warnings;
    try {
        readSceneFile(path("shape.lws"), "", warnings);
        ADD_FAILURE() << "a bad built-in shape was read";
    } catch (const InputError &error) {
        const std::string expected = path("shape.lws") + ": line 4: builtin:cube:3: unknown built-in shape";
        EXPECT_NE(std::string(error.what()).find(expected), std::string::npos) << error.what();
    }
    write("long.lws", "LWSC\nLoadObject " + std::string(1'000'000, 'x') + "\n");
    readSceneFile(path("long.lws"), "", warnings);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].starts_with(path("long.lws") + ": line 2: object file \"" + std::string(80, 'x') +
                                        "...\" not found; the item has no points ("))
        << warnings[0];
}

TEST_F(SceneFilesTest, ObjectsDirectoryIsTheLastPlaceLookedIn) {
    write("objects/one.obj", "v 7 8 9\n");
    write("scene.lws", "LWSC\nLoadObject one.obj\n");
    std::vector<std::string> warnings;
    const HostScene scene = readSceneFile(path("scene.lws"), path("objects"), warnings);
    EXPECT_EQ(scene.items[0].points, (std::vector<float>{7, 8, 9}));
    EXPECT_TRUE(warnings.empty());
}

TEST_F(SceneFilesTest, AMalformedObjectFileIsAnErrorAndWritingRoundTripsBytes) {
    write("objects/bad.obj", "v 1 2\n");
    write("scene.lws", "LWSC\nLoadObject objects/bad.obj\n");
    std::vector<std::string> warnings;
    EXPECT_THROW(readSceneFile(path("scene.lws"), "", warnings), InputError);
    EXPECT_THROW(readSceneFile(path("missing.lws"), "", warnings), InputError);

    const HostScene scene = parseSceneText(kScene, "x.lws");
    writeSceneFile(scene, path("out.lws"));
    EXPECT_EQ(readFileBytes(path("out.lws"), "scene"), crlf(kScene));
    EXPECT_THROW(writeSceneFile(scene, path("no/such/dir/out.lws")), OutputError);
}

}  // namespace
}  // namespace plof::host

namespace plof::host {
namespace {

TEST(ExampleSceneTest, TheBundledSceneReadsAndWritesBackByteForByte) {
    const std::string path = std::string(PLOF_SOURCE_DIR) + "/examples/fountain.lws";
    std::vector<std::string> warnings;
    const HostScene scene = readSceneFile(path, "", warnings);
    EXPECT_TRUE(warnings.empty());
    ASSERT_EQ(scene.items.size(), 4u);
    EXPECT_EQ(scene.items[0].pointCount(), 900);
    EXPECT_TRUE(scene.items[0].hasEffect);
    EXPECT_EQ(scene.items[2].pointCount(), 42);
    EXPECT_EQ(scene.items[2].parent, 2);
    EXPECT_EQ(scene.items[3].pointCount(), 25);
    EXPECT_TRUE(scene.hasDissolve());
    EXPECT_EQ(sceneText(scene), readFileBytes(path, "scene"));
}

}  // namespace
}  // namespace plof::host
