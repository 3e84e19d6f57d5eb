// The same scenes played by the native build and by the 32-bit Windows build
// under Wine: every point of every frame, and the host scene each saves with
// the effect's block, must come out the same.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "support/host_programs.h"
#include "win32/csv_comparison.h"

namespace plof::test {
namespace {

namespace fs = std::filesystem;

TEST(CsvComparisonRule, ReportsEveryDifferenceDownToTheLastBit) {
    const std::string native = "frame,point,x,y,z\n0,0,1.5,2,-3.25\n1,0,0.1,0.2,0.30000000000000004\n";
    EXPECT_EQ(compareCsv(native, native).firstDifferences, "");
    EXPECT_EQ(compareCsv(native, native).valuesCompared, 6u);
    EXPECT_EQ(compareCsv(native, native).valuesDiffering, 0u);

    // 0.3 is the double just below 0.30000000000000004.
    const CsvComparison lastBit = compareCsv(native, "frame,point,x,y,z\n0,0,1.5,2,-3.25\n1,0,0.1,0.2,0.3\n");
    EXPECT_EQ(lastBit.firstDifferences, "row 2: column 4: '0.30000000000000004' vs '0.3' (1 double apart)\n");
    EXPECT_EQ(lastBit.valuesDiffering, 1u);
    EXPECT_EQ(compareCsv("frame,point,x\n0,0,1e-300\n", "frame,point,x\n0,0,-1e-300\n").valuesDiffering, 1u);
    // Counted columns, headers and row counts must be identical too.
    EXPECT_NE(
        compareCsv(native, "frame,point,x,y,z\n0,1,1.5,2,-3.25\n1,0,0.1,0.2,0.30000000000000004\n").firstDifferences,
        "");
    EXPECT_NE(
        compareCsv(native, "frame,point,x,y,q\n0,0,1.5,2,-3.25\n1,0,0.1,0.2,0.30000000000000004\n").firstDifferences,
        "");
    EXPECT_NE(compareCsv(native, "frame,point,x,y,z\n0,0,1.5,2,-3.25\n").firstDifferences, "");
}

struct PlayScenario {
    const char *name;
    std::string settings;  // the value lines of the settings file

    std::vector<std::string> arguments;
};

void PrintTo(const PlayScenario &scenario, std::ostream *out) { *out << scenario.name; }

std::string settingsFile(const std::string &values) { return "PLOF_START\n" + values + "REFERENCE\nnone\nPLOF_END\n"; }

// V0Min V0Max AgeMin AgeMax Gravity Regist START_F Birth ReCycle SpreadMin SpreadMax OrgEmit
std::string values(double v0Min, double v0Max, int ageMin, int ageMax, double gravity, double regist, int startFrame,
                   int birth, int recycle, int spreadMin, int spreadMax, int orgEmit) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "V0Min %f\nV0Max %f\nAgeMin %d.000000\nAgeMax %d.000000\nGravity %f\nRegist %f\n"
                  "START_F %d.000000\nBirth %d.000000\nReCycle %d.000000\nSpreadMin %d.000000\n"
                  "SpreadMax %d.000000\nOrgEmit %d.000000\n",
                  v0Min, v0Max, ageMin, ageMax, gravity, regist, startFrame, birth, recycle, spreadMin, spreadMax,
                  orgEmit);
    return text;
}

class PlayComparison : public testing::TestWithParam<PlayScenario> {};

TEST_P(PlayComparison, WindowsBuildPlaysEveryPointAsTheNativeBuild) {
    PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
    const PlayScenario &scenario = GetParam();
    const fs::path directory = freshTestDirectory(std::string("play_comparison/") + scenario.name);
    fs::copy(fs::path(PLOF_SOURCE_DIR) / "examples", directory, fs::copy_options::recursive);
    if (!scenario.settings.empty()) {
        std::ofstream(directory / "settings.plf", std::ios::binary) << settingsFile(scenario.settings);
    }

    std::string outputs[2][2];
    std::string messages[2];
    for (Build build : {Build::native, Build::windows}) {
        // Inputs relative to the scenario's directory, as the saved scene keeps
        // object paths as given; outputs by absolute path in the platform's form.
        std::vector<std::string> arguments = {"play"};
        arguments.insert(arguments.end(), scenario.arguments.begin(), scenario.arguments.end());
        const fs::path csv = directory / (std::string(buildName(build)) + ".csv");
        const fs::path scene = directory / (std::string(buildName(build)) + ".lws");
        arguments.insert(arguments.end(), {"--out", hostPath(build, csv), "--save-scene", hostPath(build, scene)});
        const ProgramRun run = runHost(build, arguments, directory);
        ASSERT_EQ(run.exitCode, 0) << buildName(build) << ": " << run.err;
        // The warnings of what the host observed (the recycle period, ...), alike in both.
        std::string err = run.err;
        std::erase(err, '\r');
        messages[build == Build::native ? 0 : 1] = err;
        outputs[build == Build::native ? 0 : 1][0] = readFileBytes(csv);
        outputs[build == Build::native ? 0 : 1][1] = readFileBytes(scene);
    }

    EXPECT_EQ(messages[1], messages[0]);
    const CsvComparison points = compareCsv(outputs[0][0], outputs[1][0]);
    EXPECT_EQ(points.firstDifferences, "");
    EXPECT_GT(points.valuesCompared, 0u);
    RecordProperty("values_compared", std::to_string(points.valuesCompared));
    // A DLL computing in x87 extended precision differs in about one value in
    // six; the C libraries' sines and arc tangents in about one in 10 000.
    EXPECT_EQ(points.valuesDiffering, 0u);
    ASSERT_NE(outputs[0][1].find("PLOF_START"), std::string::npos) << "no effect block in the saved scene";
    EXPECT_TRUE(outputs[0][1] == outputs[1][1]) << "the saved scenes differ";
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, PlayComparison,
    testing::Values(
        PlayScenario{"recycling_on",
                     values(3, 4, 30, 45, 9.8, 0, 0, 100, 1, 0, 15, 0),
                     {"--object", "builtin:grid:10x10", "--settings", "settings.plf", "--frames", "0..120"}},
        PlayScenario{"recycling_off_late_start",
                     values(2, 5, 10, 20, 9.8, 0, 12, 40, 0, 5, 30, 0),
                     {"--object", "builtin:grid:10x10", "--settings", "settings.plf", "--frames", "0..120"}},
        PlayScenario{"radial_emission",
                     values(2, 3, 60, 70, 1.5, 0, 0, 300, 1, 0, 0, 1),
                     {"--object", "builtin:sphere:300", "--settings", "settings.plf", "--frames", "0..90"}},
        PlayScenario{"air_resistance_wide_spread",
                     values(5, 9, 20, 40, 4, 0.75, 3, 60, 1, 10, 80, 0),
                     {"--object", "builtin:grid:8x8", "--settings", "settings.plf", "--frames", "0..90"}},
        PlayScenario{"moving_turning_emitter",
                     values(3, 4, 15, 25, 9.8, 0.3, 0, 90, 1, 0, 25, 0),
                     {"--object", "objects/nozzle.lwo", "--settings", "settings.plf", "--frames", "0..90", "--motion",
                      "0:0,0,0:0,0,0;30:2,1,-1:45,10,5;90:-3,2,4:180,-30,60"}},
        PlayScenario{"interface_1_at_25_fps",
                     values(1, 2.5, 5, 50, 9.8, 1.25, 0, 45, 1, 30, 90, 1),
                     {"--object", "builtin:line:50", "--settings", "settings.plf", "--frames", "-5..60", "--interface",
                      "1", "--fps", "25"}},
        PlayScenario{"ten_thousand_points",
                     values(3, 6, 20, 30, 9.8, 0.1, 0, 3000, 1, 0, 40, 0),
                     {"--object", "builtin:grid:100x100", "--settings", "settings.plf", "--frames", "0..40"}},
        PlayScenario{"example_scene", "", {"fountain.lws", "--frames", "0..60"}}),
    [](const testing::TestParamInfo<PlayScenario> &scenario) { return std::string(scenario.param.name); });

// Numbers that C libraries write differently (Microsoft's printf writes an
// infinity as "1.#INF00" and only 17 significant digits) are written by the
// module's own formatter on both builds; numbers beyond the double range are
// read alike.
TEST(PlayComparison, ExtremeSettingsAreSavedAsTheSameText) {
    PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
    const fs::path directory = freshTestDirectory("play_comparison/extreme_settings");
    std::ofstream(directory / "settings.plf", std::ios::binary)
        << "PLOF_START\nV0Min 1e-999\nV0Max 123456789012345678901234567890\nAgeMin 2.5e9\nAgeMax -7.9\n"
           "Gravity 1e999\nRegist 0.0000005\nSTART_F 10\nBirth 0x1p3\nReCycle 1\nSpreadMin -0.0000001\n"
           "SpreadMax 2.9999999\nOrgEmit 1\nREFERENCE\nnone\nPLOF_END\n";
    std::string scenes[2];
    for (Build build : {Build::native, Build::windows}) {
        const fs::path scene = directory / (std::string(buildName(build)) + ".lws");
        const ProgramRun run =
            runHost(build,
                    {"play", "--object", "builtin:line:3", "--settings", "settings.plf", "--frames", "0..0", "--out",
                     hostPath(build, directory / "points.csv"), "--save-scene", hostPath(build, scene)},
                    directory);
        ASSERT_EQ(run.exitCode, 0) << buildName(build) << ": " << run.err;
        scenes[build == Build::native ? 0 : 1] = readFileBytes(scene);
    }
    EXPECT_TRUE(scenes[0] == scenes[1]) << "native:\n" << scenes[0] << "\nwindows:\n" << scenes[1];
    EXPECT_NE(scenes[1].find("Gravity inf\r\n"), std::string::npos) << scenes[1];
    EXPECT_NE(scenes[1].find("V0Max 123456789012345677877719597056.000000\r\n"), std::string::npos);
    EXPECT_NE(scenes[1].find("V0Min 0.000000\r\n"), std::string::npos);
}

// The exported file holds float32 values and numbers written by one
// formatter: both builds write the same bytes.
TEST(PlayComparison, ExportsAreTheSameFile) {
    PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
    const fs::path directory = freshTestDirectory("play_comparison/export");
    fs::copy_file(PLOF_SOURCE_DIR "/examples/settings/fountain.plf", directory / "settings.plf");
    for (const char *extension : {".glb", ".gltf"}) {
        std::string files[2];
        for (Build build : {Build::native, Build::windows}) {
            const fs::path file = directory / (std::string(buildName(build)) + extension);
            const ProgramRun run =
                runHost(build,
                        {"export", "--object", "builtin:grid:20x20", "--settings", "settings.plf", "--frames", "0..30",
                         "--motion", "0:0,0,0:0,0,0;30:2,1,-1:45,10,5", "--out", hostPath(build, file)},
                        directory);
            ASSERT_EQ(run.exitCode, 0) << buildName(build) << ": " << run.err;
            files[build == Build::native ? 0 : 1] = readFileBytes(file);
        }
        EXPECT_GT(files[0].size(), 400u * 31u * 12u) << extension;
        EXPECT_TRUE(files[0] == files[1]) << extension << ": the exports differ";
    }
}

}  // namespace
}  // namespace plof::test
