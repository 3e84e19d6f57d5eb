// plof-host play with host scenes: saving and loading the effect's block,
// parents, dissolve envelopes, baked scenes' missing objects, the avoid
// object found by name, and the bundled example.
#include <cmath>

#include "host/objects/object_file.h"
#include "host_run.h"

namespace plof::e2e {
namespace {

std::string indentedBlock(const std::string &text) {
    std::string out = "Plugin DisplacementHandler 1 PLOF!\n" + text + "EndPlugin\n";
    return out;
}

TEST(ScenePlayTest, ASavedSceneLoadsBackToTheSamePointsAndSavesBackTheSameBytes) {
    TempDirectory directory;
    Settings settings;
    settings.V0Min = 1.5;
    settings.V0Max = 3.25;
    settings.SpreadMax = 45;
    settings.AgeMin = 10;
    settings.AgeMax = 20;
    settings.ReCycle = 1;
    settings.Regist = 0.25;
    directory.write("s.plf", settings.text());
    const HostRun first = runHost(
        "play --object builtin:sphere:20 --settings s.plf --frames 0..30 "
        "--motion '0:0,0,0:0,0,0;30:2,1,0:90,10,0' --save-scene saved.lws",
        directory);
    ASSERT_EQ(first.exitCode, kExitOk) << first.err;
    const std::string saved = fileText(directory / "saved.lws");
    EXPECT_NE(saved.find("LoadObject builtin:sphere:20\r\n"), std::string::npos);
    EXPECT_NE(saved.find("Plugin DisplacementHandler 1 PLOF!\r\nPLOF_START\r\nV0Min 1.500000\r\n"), std::string::npos);
    EXPECT_NE(saved.find("REFERENCE\r\nnone\r\nPLOF_END\r\nEndPlugin\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("\n\n"), std::string::npos) << "every line end is CR LF";

    const HostRun second = runHost("play saved.lws --frames 0..30 --save-scene again.lws", directory);
    ASSERT_EQ(second.exitCode, kExitOk) << second.err;
    EXPECT_EQ(second.out, first.out);
    EXPECT_EQ(fileText(directory / "again.lws"), saved);
}

TEST(ScenePlayTest, BakedSceneItemsFollowTheirParentAndDissolve) {
    TempDirectory directory;
    directory.write("baked.lws",
                    "LWSC\n1\n\n"
                    "AddNullObject PLOF_NULL\nShowObject 8 7\nObjectMotion (unnamed)\n  9\n  1\n"
                    "  0.000000 1.000000 0.000000 90.000000 0.000000 0.000000 1.000000 1.000000 1.000000\n"
                    "  0 0 0 0 0\nEndBehavior 1\nShadowOptions 7\n\n"
                    "LoadObject none\nShowObject 8 7\nObjectMotion (unnamed)\n  9\n  2\n"
                    "  1.000000 0.000000 0.000000 0.000000 0.000000 0.000000 1.000000 1.000000 1.000000\n"
                    "  0 0 0 0 0\n"
                    "  3.000000 0.000000 0.000000 0.000000 0.000000 0.000000 1.000000 1.000000 1.000000\n"
                    "  10 1 0 0 0\nEndBehavior 1\n"
                    "ObjDissolve (envelope)\n  1\n  2\n  1.0000\n  0 0 0 0 0\n  0.0000\n  10 1 0 0 0\nEndBehavior 1\n"
                    "ParentObject 1\nShadowOptions 7\n\n");
    const HostRun run = runHost("play baked.lws --frames 0..10", directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_NE(run.err.find("line 14: object file \"none\" not found; the item has no points"), std::string::npos)
        << run.err;
    const Csv csv = parseCsv(run.out);
    EXPECT_EQ(csv.header, "frame,item,point,x,y,z,dissolve");
    ASSERT_EQ(csv.rows.size(), 22u);
    const std::vector<double> &nullAt5 = csv.rows[10];
    EXPECT_EQ(nullAt5[1], 1);
    EXPECT_NEAR(nullAt5[3], 0.0, 1e-12);
    EXPECT_NEAR(nullAt5[4], 1.0, 1e-12);
    EXPECT_EQ(nullAt5[6], 0.0);
    // Own x = 1 + 0.2·5 = 2, turned by the parent's heading 90 onto −Z.
    const std::vector<double> &particleAt5 = csv.rows[11];
    EXPECT_EQ(particleAt5[1], 2);
    EXPECT_EQ(particleAt5[2], 0);
    EXPECT_NEAR(particleAt5[3], 0.0, 1e-12);
    EXPECT_NEAR(particleAt5[4], 1.0, 1e-12);
    EXPECT_NEAR(particleAt5[5], -2.0, 1e-12);
    EXPECT_NEAR(particleAt5[6], 0.5, 1e-12);
}

TEST(ScenePlayTest, RestingParticlesWaitAtTheAvoidObjectFoundByName) {
    TempDirectory directory;
    Settings settings;
    settings.START_F = 100;  // nothing flies yet: everything rests
    settings.reference = "Target";
    directory.write("avoid.lws", "LWSC\n1\n\nLoadObject builtin:line:3\n" + indentedBlock(settings.text()) +
                                     "\nAddNullObject Target\nObjectMotion (unnamed)\n  9\n  1\n"
                                     "  0 5 0 0 0 0 1 1 1\n  0 0 0 0 0\nEndBehavior 1\n\n");
    const HostRun run = runHost("play avoid.lws --frames 0..2", directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    const Csv csv = parseCsv(run.out);
    ASSERT_EQ(csv.rows.size(), 12u);
    for (const std::vector<double> &row : csv.rows) {
        EXPECT_NEAR(row[3], 0.0, 1e-12);
        EXPECT_NEAR(row[4], 5.0, 1e-12);
        EXPECT_NEAR(row[5], 0.0, 1e-12);
    }
}

TEST(ScenePlayTest, TheBundledExamplePlays) {
    TempDirectory directory;
    const std::string example = std::string(PLOF_SOURCE_DIR) + "/examples/fountain.lws";
    const HostRun run = runHost("play '" + example + "' --frames 0..59", directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_EQ(run.err, "");
    const Csv csv = parseCsv(run.out);
    EXPECT_EQ(csv.header, "frame,item,point,x,y,z,dissolve");
    ASSERT_EQ(csv.rows.size(), 60u * (900 + 1 + 42 + 25));
    for (const std::vector<double> &row : csv.rows) {
        ASSERT_EQ(row.size(), 7u);
        ASSERT_TRUE(std::isfinite(row[3]) && std::isfinite(row[4]) && std::isfinite(row[5]));
    }
    // The ball (item 3, radial burst from frame 10) keeps its shape before it
    // bursts, carried by the stand at (0, 2, 3) to (1, 2, 3) at frame 0.
    const std::vector<float> ball =
        plof::host::loadObjectPoints(std::string(PLOF_SOURCE_DIR) + "/examples/objects/ball.lwo");
    const std::vector<double> &ballPoint0 = csv.rows[900 + 1];
    EXPECT_EQ(ballPoint0[1], 3);
    EXPECT_NEAR(ballPoint0[3], 1 + ball[0], 1e-6);
    EXPECT_NEAR(ballPoint0[4], 2 + ball[1], 1e-6);
    EXPECT_NEAR(ballPoint0[5], 3 + ball[2], 1e-6);
    // The drops dissolve linearly from 0 at frame 0 to 1 at frame 59.
    const std::vector<double> &dropsAt30 = csv.rows[30 * 968 + 900 + 1 + 42];
    EXPECT_EQ(dropsAt30[1], 4);
    EXPECT_NEAR(dropsAt30[6], 30.0 / 59.0, 1e-12);
}

TEST(ScenePlayTest, AScenePlaysItsOwnFrameRangeUnlessFramesAreGiven) {
    TempDirectory directory;
    std::string scene = fileText(std::string(PLOF_SOURCE_DIR) + "/examples/fountain.lws");
    scene.replace(scene.find("FirstFrame 0"), 12, "FirstFrame 5");
    scene.replace(scene.find("LastFrame 59"), 12, "LastFrame 9");
    std::filesystem::copy(std::string(PLOF_SOURCE_DIR) + "/examples/objects", directory.path() / "objects");
    directory.write("short.lws", scene);
    const Csv own = parseCsv(runHost("play short.lws", directory).out);
    ASSERT_EQ(own.rows.size(), 5u * 968);
    EXPECT_EQ(own.rows.front()[0], 5);
    EXPECT_EQ(own.rows.back()[0], 9);
    EXPECT_EQ(parseCsv(runHost("play short.lws --frames 0..1", directory).out).rows.size(), 2u * 968);
}

// A scene's FramesPerSecond is the default for --fps; LastFrame below
// FirstFrame is an error naming the line.
TEST(ScenePlayTest, TheScenesFrameRateIsTheDefaultAndItsRangeIsChecked) {
    TempDirectory directory;
    std::string scene = fileText(std::filesystem::path(PLOF_SOURCE_DIR) / "examples/avoid.lws");
    scene.replace(scene.find("FramesPerSecond 30"), 18, "FramesPerSecond 24");
    directory.write("s.lws", scene);
    const HostRun own = runHost("play s.lws --frames 0..20", directory);
    ASSERT_EQ(own.exitCode, 0) << own.err;
    EXPECT_EQ(own.out, runHost("play s.lws --frames 0..20 --fps 24", directory).out);
    EXPECT_NE(own.out, runHost("play s.lws --frames 0..20 --fps 30", directory).out);

    scene.replace(scene.find("LastFrame 59"), 12, "LastFrame -3");
    directory.write("s.lws", scene);
    const HostRun backwards = runHost("play s.lws", directory);
    EXPECT_EQ(backwards.exitCode, 3);
    EXPECT_NE(backwards.err.find("s.lws:5: LastFrame -3 is below FirstFrame 0"), std::string::npos) << backwards.err;
}

}  // namespace
}  // namespace plof::e2e
