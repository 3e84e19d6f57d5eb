// Editing the studio's whole scene through its interface (the routes as
// plain calls, on a session that loads the real plof.p): each change of an
// item's object, its motion, the frame range and the rate plays as
// `plof-host play` of the same inputs, byte for byte; undo, redo and revert
// step through the history; refusals change nothing; a saved scene plays
// from another directory; the state's warnings, settings and .plf text are
// what the host says and writes.
#include <gtest/gtest.h>

#include "e2e/host_run.h"
#include "host/run/emitter_scene.h"
#include "host/run/host_process.h"
#include "host/studio/studio_routes.h"
#include "host/studio/studio_session.h"

namespace plof::host::studio {
namespace {

using e2e::HostRun;
using e2e::runHost;
using e2e::Settings;
using e2e::TempDirectory;

Settings sparks() {
    Settings s;
    s.V0Min = 1.5, s.V0Max = 3, s.AgeMin = 10, s.AgeMax = 25, s.Birth = 40, s.ReCycle = 1, s.SpreadMax = 40;
    return s;
}

// A session of one emitter, as `plof-host studio --object ... --settings
// start.plf --frames 0..30 --dir DIRECTORY` makes it.
class Editing {
public:
    Editing(const TempDirectory &dir, const std::string &object)
        : settings_(dir.write("start.plf", sparks().text())), saves_(dir.path().string()) {
        PlaybackInputs inputs;
        inputs.modulePath = PLOF_MODULE_PATH;
        inputs.frames = {0, 30};
        inputs.scene = emitterScene({.object = object, .pointShuffle = std::nullopt, .settingsFile = settings_},
                                    inputs.frames, inputs.fps);
        session_.emplace(std::move(inputs), saves_);
    }

    StudioAnswer ask(const std::string &method, const std::string &path, const std::string &body = "") {
        return answerRequest(*session_, {method, path, {}, body});
    }
    // A change that must be taken: its state.
    nlohmann::json change(const std::string &method, const std::string &path, const std::string &body = "") {
        const StudioAnswer answer = ask(method, path, body);
        EXPECT_EQ(answer.status, 200) << path << " " << body << ": " << answer.body;
        return nlohmann::json::parse(answer.body);
    }
    std::string csv() { return ask("GET", "/api/play.csv").body; }
    const std::string &settingsFile() const { return settings_; }

private:
    std::string settings_;
    ConfinedFolder saves_;
    std::optional<StudioSession> session_;
};

std::string played(const std::string &arguments, const TempDirectory &dir) {
    const HostRun run = runHost("play " + arguments, dir);
    EXPECT_EQ(run.exitCode, 0) << arguments << "\n" << run.err;
    return run.out;
}

TEST(StudioEditingTest, ObjectMotionRangeAndRateEachPlayAsPlayDoesAndTheHistoryStepsBack) {
    const HostProcess process;
    TempDirectory dir;
    std::filesystem::create_directories(dir.path() / "shapes");
    dir.write("shapes/tri.obj", "v 0 0 0\nv 1 0 0\nv 0 0 1\nv 0.5 1 0\n");
    Editing studio(dir, "builtin:grid:4x3");
    const std::string settings = " --settings '" + studio.settingsFile() + "'";
    const std::string start = studio.csv();
    ASSERT_EQ(start, played("--object builtin:grid:4x3" + settings + " --frames 0..30", dir));

    studio.change("PUT", "/api/items/1/object", R"({"object": "builtin:sphere:40"})");
    const std::string sphere = studio.csv();
    EXPECT_EQ(sphere, played("--object builtin:sphere:40" + settings + " --frames 0..30", dir));
    const nlohmann::json moved =
        studio.change("PUT", "/api/items/1/motion", R"({"keys": "0:0,1,0;20:2,1,0:0,45,0;30:2,3,-1:90,45,10"})");
    EXPECT_EQ(moved["items"][0]["motion"]["keys"], "0:0,1,0:0,0,0;20:2,1,0:0,45,0;30:2,3,-1:90,45,10");
    const std::string motion = " --motion '0:0,1,0;20:2,1,0:0,45,0;30:2,3,-1:90,45,10'";
    EXPECT_EQ(studio.csv(), played("--object builtin:sphere:40" + settings + " --frames 0..30" + motion, dir));
    const nlohmann::json ranged = studio.change("PUT", "/api/range", R"({"from": 4, "to": 26, "fps": 24})");
    EXPECT_EQ(ranged["frames"], nlohmann::json({{"first", 4}, {"last", 26}}));
    EXPECT_EQ(studio.csv(), played("--object builtin:sphere:40" + settings + " --frames 4..26 --fps 24" + motion, dir));
    // An object file inside the studio's folder, by its path there, as the list offers it.
    const nlohmann::json offer = studio.change("GET", "/api/objects");
    EXPECT_EQ(offer["shapes"][0], "builtin:grid:WxH");
    EXPECT_EQ(offer["files"], nlohmann::json::parse(R"([{"name": "shapes/tri.obj", "folder": "dir"}])"));
    const nlohmann::json file = studio.change("PUT", "/api/items/1/object", R"({"object": "shapes/tri.obj"})");
    EXPECT_EQ(file["items"][0]["name"], "Emitter");  // named otherwise than its object: the name stays
    const std::string triangle = studio.csv();
    EXPECT_EQ(
        triangle,
        played("--object '" + (dir / "shapes/tri.obj") + "'" + settings + " --frames 4..26 --fps 24" + motion, dir));

    // Back through the history, forward again, and to the start as one more step.
    for (int step = 0; step < 3; ++step) studio.change("POST", "/api/undo");
    EXPECT_EQ(studio.csv(), sphere);
    nlohmann::json state = studio.change("POST", "/api/undo");
    EXPECT_EQ(studio.csv(), start);
    EXPECT_EQ(state["history"], nlohmann::json({{"undo", 0}, {"redo", 4}, {"unsaved", false}}));
    EXPECT_EQ(studio.ask("POST", "/api/undo").status, 400);
    for (int step = 0; step < 4; ++step) studio.change("POST", "/api/redo");
    EXPECT_EQ(studio.csv(), triangle);
    state = studio.change("POST", "/api/revert");
    EXPECT_EQ(studio.csv(), start);
    EXPECT_EQ(state["history"]["undo"], 5);
    studio.change("POST", "/api/undo");
    EXPECT_EQ(studio.csv(), triangle);
    EXPECT_GT(state["revision"].get<int>(), 8);
}

TEST(StudioEditingTest, AHundredStepsAreUndoneAndRefusalsChangeNothing) {
    const HostProcess process;
    TempDirectory dir;
    Editing studio(dir, "builtin:line:3");
    const std::string start = studio.csv();
    for (int step = 1; step <= 105; ++step) {
        studio.change("PUT", "/api/items/1/motion", "{\"keys\": \"0:" + std::to_string(step) + ",0,0\"}");
    }
    nlohmann::json state;
    for (int step = 0; step < 100; ++step) state = studio.change("POST", "/api/undo");
    EXPECT_EQ(state["items"][0]["motion"]["keys"], "0:5,0,0:0,0,0");

    const std::string before = studio.csv();
    const uint64_t revision = studio.change("GET", "/api/state")["revision"];
    const std::pair<std::string, std::string> refused[] = {
        {"/api/items/1/object", R"({"object": "../start.plf"})"},
        {"/api/items/1/object", R"({"object": "/etc/passwd"})"},
        {"/api/items/1/object", R"({"object": "start.plf"})"},  // not an object
        {"/api/items/1/object", R"({"object": "builtin:grid:0x3"})"},
        {"/api/items/1/object", R"({"object": 3})"},
        {"/api/items/2/object", R"({"object": "builtin:line:2"})"},
        {"/api/items/1/motion", R"({"keys": "0:1,2"})"},
        {"/api/items/1/motion", R"({"keys": "0:0,0,0;10:1e200,0,0"})"},
        {"/api/items/1/motion", R"({"keys": "0:0,0,0", "spline": true})"},
        {"/api/range", R"({"from": 9, "to": 3})"},
        {"/api/range", R"({"fps": 0})"},
        {"/api/range", R"({"to": 1.5})"},
        // More than the machine can hold: refused before anything plays.
        {"/api/range", R"({"from": -2000000000, "to": 2000000000})"},
    };
    for (const auto &[path, body] : refused) {
        const StudioAnswer answer = studio.ask("PUT", path, body);
        EXPECT_EQ(answer.status, 400) << path << " " << body << ": " << answer.body;
        EXPECT_NE(nlohmann::json::parse(answer.body)["error"].get<std::string>().find_first_not_of(' '),
                  std::string::npos);
    }
    const nlohmann::json far = nlohmann::json::parse(studio.ask("PUT", "/api/range", R"({"to": 2000000000})").body);
    EXPECT_NE(far["error"].get<std::string>().find("more than this machine's"), std::string::npos) << far;
    EXPECT_EQ(studio.change("GET", "/api/state")["revision"], revision);
    EXPECT_EQ(studio.csv(), before);
    EXPECT_NE(before, start);
}

TEST(StudioEditingTest, ASavedSceneNamesItsObjectsSoThatItPlaysFromAnotherDirectory) {
    const HostProcess process;
    TempDirectory dir;
    std::filesystem::create_directories(dir.path() / "saves/mine");
    std::filesystem::create_directories(dir.path() / "elsewhere");
    dir.write("saves/mine/tri.obj", "v 0 0 0\nv 1 0 0\nv 0 0 1\nv 0.5 1 0\n");
    PlaybackInputs inputs;
    inputs.modulePath = PLOF_MODULE_PATH;
    const std::string scenePath = std::string(PLOF_SOURCE_DIR) + "/examples/fountain.lws";
    inputs.scene = readSceneSayingWarnings(scenePath, "");
    inputs.frames = sceneFrameRange(inputs.scene, scenePath);
    const ConfinedFolder saves((dir.path() / "saves").string());
    StudioSession session(std::move(inputs), saves);
    const auto ask = [&session](const std::string &method, const std::string &path, const std::string &body) {
        return answerRequest(session, {method, path, {}, body});
    };
    ASSERT_EQ(ask("PUT", "/api/items/3/object", R"({"object": "mine/tri.obj"})").status, 200);
    const StudioAnswer saved = ask("POST", "/api/save", R"({"kind": "scene", "name": "moved"})");
    ASSERT_EQ(saved.status, 200) << saved.body;
    const std::string scene = e2e::fileText(dir.path() / "saves/moved.lws");
    // Inside the folder: relative to the scene; the example's own objects: absolute.
    EXPECT_NE(scene.find("LoadObject mine/tri.obj\r\n"), std::string::npos);
    EXPECT_NE(scene.find("LoadObject " + std::filesystem::canonical(PLOF_SOURCE_DIR).string() +
                         "/examples/objects/spout.lwo\r\n"),
              std::string::npos);
    const HostRun elsewhere = runHost("play '" + (dir / "saves/moved.lws") + "'", dir);
    EXPECT_EQ(elsewhere.err.find("not found"), std::string::npos) << elsewhere.err;
    EXPECT_EQ(elsewhere.out, ask("GET", "/api/play.csv", "").body);
    // The item took the new object's name, as the host names what it loads.
    EXPECT_EQ(nlohmann::json::parse(ask("GET", "/api/state", "").body)["items"][2]["name"], "tri");
}

TEST(StudioEditingTest, AnEffectWithAnEmptyBlockTakesSettingsAsAnyOther) {
    const HostProcess process;
    TempDirectory dir;
    const std::string scenePath = dir.write("empty.lws",
                                            "LWSC\n1\n\nFirstFrame 0\nLastFrame 20\n\nLoadObject builtin:line:5\n"
                                            "Plugin DisplacementHandler 1 PLOF!\nEndPlugin\n");
    PlaybackInputs inputs;
    inputs.modulePath = PLOF_MODULE_PATH;
    inputs.scene = readSceneSayingWarnings(scenePath, "");
    inputs.frames = sceneFrameRange(inputs.scene, scenePath);
    const ConfinedFolder saves(dir.path().string());
    StudioSession session(std::move(inputs), saves);
    const nlohmann::json state = session.changeSettings(1, {{"Gravity", 2.5}});
    EXPECT_EQ(state["items"][0]["settings"]["Gravity"], 2.5);
    EXPECT_EQ(state["revision"], 1);
}

TEST(StudioEditingTest, TheStateSaysWarningsByFieldAndTheSettingsAsAPlfFileHoldsThem) {
    const HostProcess process;
    TempDirectory dir;
    Editing studio(dir, "builtin:grid:4x3");
    const nlohmann::json state = studio.change("PUT", "/api/items/1/settings", R"({"V0Min": 5, "SpreadMax": 0})");
    const nlohmann::json &item = state["items"][0];
    ASSERT_GE(item["warnings"].size(), 2u) << item["warnings"];
    EXPECT_EQ(item["warnings"][0]["keyword"], "V0Min");
    EXPECT_EQ(item["warnings"][0]["message"].get<std::string>().rfind("V0Min 5 is above V0Max 3", 0), 0u);
    bool spreadWarned = false;
    for (const auto &warning : item["warnings"]) spreadWarned = spreadWarned || warning["keyword"] == "SpreadMax";
    EXPECT_TRUE(spreadWarned) << item["warnings"];
    // The state's values are taken back as they are, "none" included.
    EXPECT_EQ(item["settings"]["REFERENCE"], "none");
    EXPECT_EQ(studio.ask("PUT", "/api/items/1/settings", item["settings"].dump()).status, 200);
    // The .plf text the state carries is the file the options panel's "S" writes.
    ASSERT_EQ(studio.ask("POST", "/api/save", R"({"kind": "plf", "name": "held"})").status, 200);
    EXPECT_EQ(item["plf"], e2e::fileText(dir.path() / "held.plf"));
}

}  // namespace
}  // namespace plof::host::studio
