// The WebAssembly build's plof-host.js under Node against the native
// plof-host: each command line, run in a fresh copy of examples/, must end
// with the same exit code and write the same bytes (standard output,
// standard error and every file); where the builds differ on purpose (the
// module built in, no pictures, no studio) the WebAssembly build says so;
// and its trigonometry gives the native bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <utility>

#include "support/host_programs.h"
#include "support/trig_sample_runs.h"

namespace plof::test {
namespace {

namespace fs = std::filesystem;

struct WebScenario {
    const char *name;
    std::vector<std::string> arguments;
    std::vector<std::pair<std::string, std::string>> inputs;  // files written beside the examples
    int exitCode = 0;                                         // the native build's, which the scenario is about
};

void PrintTo(const WebScenario &scenario, std::ostream *out) { *out << scenario.name; }

struct Outcome {
    ProgramRun run;
    std::map<std::string, std::string> files;  // every file of the folder afterwards, by relative path
};

Outcome runInExamples(Build build, const WebScenario &scenario, const fs::path &directory) {
    fs::remove_all(directory);
    fs::copy(fs::path(PLOF_SOURCE_DIR) / "examples", directory, fs::copy_options::recursive);
    for (const auto &[name, bytes] : scenario.inputs) std::ofstream(directory / name, std::ios::binary) << bytes;
    Outcome outcome{runHost(build, scenario.arguments, directory), {}};
    for (const auto &entry : fs::recursive_directory_iterator(directory)) {
        if (entry.is_regular_file()) {
            outcome.files[fs::relative(entry.path(), directory).string()] = readFileBytes(entry.path());
        }
    }
    return outcome;
}

class WebBuild : public testing::TestWithParam<WebScenario> {};

TEST_P(WebBuild, WritesWhatTheNativeBuildWrites) {
    PLOF_SKIP_WITHOUT_WEB_BUILD();
    const WebScenario &scenario = GetParam();
    // One folder for both, so that messages naming paths are alike.
    const fs::path directory = freshTestDirectory(std::string("web_build/") + scenario.name);
    const Outcome native = runInExamples(Build::native, scenario, directory);
    const Outcome web = runInExamples(Build::web, scenario, directory);
    ASSERT_EQ(native.run.exitCode, scenario.exitCode) << native.run.err;

    EXPECT_EQ(web.run.exitCode, native.run.exitCode) << web.run.err;
    EXPECT_TRUE(web.run.out == native.run.out)
        << "standard output differs (" << web.run.out.size() << " bytes, " << native.run.out.size() << " natively)";
    EXPECT_EQ(web.run.err, native.run.err);
    for (const auto &[name, bytes] : native.files) {
        const auto found = web.files.find(name);
        if (found == web.files.end()) {
            ADD_FAILURE() << name << ": not written by the WebAssembly build";
        } else if (found->second != bytes) {
            ADD_FAILURE() << name << ": differs (" << found->second.size() << " bytes, " << bytes.size()
                          << " natively)";
        }
    }
    EXPECT_EQ(web.files.size(), native.files.size()) << "the WebAssembly build wrote other files";
}

// The module's settings, value lines from V0Min to OrgEmit.
std::string settingsFile(const std::string &values) { return "PLOF_START\n" + values + "REFERENCE\nnone\nPLOF_END\n"; }

const std::string kRadialWithResistance = settingsFile(
    "V0Min 2.000000\nV0Max 5.000000\nAgeMin 30.000000\nAgeMax 50.000000\nGravity 3.000000\nRegist 0.800000\n"
    "START_F 5.000000\nBirth 600.000000\nReCycle 1.000000\nSpreadMin 0.000000\nSpreadMax 0.000000\n"
    "OrgEmit 1.000000\n");

INSTANTIATE_TEST_SUITE_P(
    Commands, WebBuild,
    testing::Values(
        WebScenario{"example_scene", {"play", "fountain.lws", "--out", "points.csv", "--save-scene", "saved.lws"}, {}},
        WebScenario{"moving_turning_emitter",
                    {"play", "--object", "objects/nozzle.lwo", "--settings", "settings/resistance.plf", "--motion",
                     "0:0,0,0:0,0,0;30:2,1,-1:45,10,5;90:-3,2,4:180,-30,60", "--frames", "0..90"},
                    {}},
        WebScenario{"radial_with_air_resistance",
                    {"play", "--object", "builtin:sphere:400", "--settings", "radial.plf", "--frames", "0..60", "--out",
                     "points.csv"},
                    {{"radial.plf", kRadialWithResistance}}},
        WebScenario{"avoid_object", {"play", "avoid.lws", "--out", "points.csv", "--save-scene", "saved.lws"}, {}},
        WebScenario{"bake",
                    {"bake",
                     "--object",
                     "builtin:box:50",
                     "--settings",
                     "settings/fountain.plf",
                     "--out",
                     "baked.lws",
                     "--frames",
                     "40",
                     "--step",
                     "2",
                     "--objects",
                     "objects/ball.lwo,objects/nozzle.lwo",
                     "--align-h",
                     "--scale",
                     "--dissolve",
                     "--hpb-min",
                     "0,0,0",
                     "--hpb-max",
                     "90,45,10",
                     "--motion",
                     "0:0,0,0:0,0,0;40:3,1,0:90,30,0"},
                    {}},
        WebScenario{"summary_json", {"summary", "avoid.lws", "--json"}, {}},
        WebScenario{"panel_saves_settings",
                    {"panel", "--object", "builtin:grid:5x5", "--settings", "settings/snow.plf", "--script", "save.txt",
                     "--save-scene", "edited.lws"},
                    {{"save.txt", "set \"Gravity\" -3.5\npress \"S\"\nchoose \"saved.plf\"\nconfirm\n"}}},
        WebScenario{
            "export_with_page", {"export", "fountain.lws", "--frames", "0..20", "--out", "e.gltf", "--html"}, {}},
        WebScenario{"export_binary",
                    {"export", "--object", "builtin:grid:20x20", "--settings", "settings/fountain.plf", "--frames",
                     "0..30", "--out", "e.glb"},
                    {}},
        WebScenario{
            "missing_object", {"play", "--object", "nothere.lwo", "--settings", "settings/fountain.plf"}, {}, 3}),
    [](const testing::TestParamInfo<WebScenario> &scenario) { return std::string(scenario.param.name); });

TEST(WebBuild, TakesNoModuleFileAndSaysWhichCommandsItLacks) {
    PLOF_SKIP_WITHOUT_WEB_BUILD();
    const fs::path directory = freshTestDirectory("web_build/refusals");
    const ProgramRun module = runHost(
        Build::web, {"play", "--object", "builtin:line:2", "--settings", "x.plf", "--module", "plof.p"}, directory);
    EXPECT_EQ(module.exitCode, 2);
    EXPECT_NE(module.err.find("--module: this plof-host has the module built in"), std::string::npos) << module.err;
    for (const char *command : {"render", "studio"}) {
        const ProgramRun run = runHost(Build::web, {command, "fountain.lws"}, directory);
        EXPECT_EQ(run.exitCode, 2) << command;
        EXPECT_NE(run.err.find("'" + std::string(command) + "' is not in this build: "), std::string::npos) << run.err;
    }
    const ProgramRun help = runHost(Build::web, {"play", "--help"}, directory);
    EXPECT_NE(help.out.find("--module PATH           not taken: the module is built into this plof-host"),
              std::string::npos)
        << help.out;
}

TEST(WebBuild, TrigonometryGivesTheNativeBitsOnASampleAndTheHardCases) {
    PLOF_SKIP_WITHOUT_WEB_BUILD();
    const fs::path directory = freshTestDirectory("web_build/trigonometry");
    const fs::path calls = directory / "hard_calls.txt";
    const std::size_t hardCalls = writeHardTrigCalls(calls);
    ASSERT_GE(hardCalls, 300u);
    const std::string native = runTrigSample(Build::native, calls, directory);
    const std::string web = runTrigSample(Build::web, calls, directory);
    EXPECT_EQ(static_cast<std::size_t>(std::count(native.begin(), native.end(), '\n')),
              4 * kTrigSampleCount + hardCalls);
    EXPECT_EQ(firstTrigDifference(native, web, "WebAssembly"), "");
}

}  // namespace
}  // namespace plof::test
