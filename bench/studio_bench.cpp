// plof-host studio after a change, against plof-host play of the same work
// in the same run: the time from sending the change until every frame's
// positions, looks and poses are served (what the page asks for), 10 000
// points x 120 frames, and the time of `plof-host play --out points.csv`
// with the changed inputs. Changes: the settings (SpreadMax), the object (a
// built-in grid of 10 000 points), the motion keys; for a still and a moving
// emitter (the host poses a moving one at every particle's birth time). The
// goal: the studio at most as slow as one play run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "e2e/studio_process.h"

namespace {

namespace fs = std::filesystem;

constexpr const char *kSettings =
    "PLOF_START\nV0Min 3\nV0Max 5\nAgeMin 20\nAgeMax 40\nGravity 9.8\nRegist 0.2\nSTART_F 0\nBirth 10000\n"
    "ReCycle 1\nSpreadMin 0\nSpreadMax 30\nOrgEmit 0\nREFERENCE\nnone\nPLOF_END\n";
constexpr std::size_t kFrameBytes = 10000u * 3 * 4;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One kind of change the page makes, alternating between two values: the
// request, and the inputs of `play` that do the same work.
struct Change {
    const char *path;
    std::string (*body)(bool second);
    // The playing flags after the change (the settings file is `settings`).
    std::vector<std::string> (*inputs)(bool second, const std::string &settings, const std::string &motion);
};

std::vector<std::string> emitterInputs(const std::string &object, const std::string &settings,
                                       const std::string &motion) {
    return {"--object", object, "--settings", settings, "--frames", "0..119", "--motion", motion};
}

const std::string kStill = "0:0,0,0";
const std::string kMoving = "0:-3,0,0:0,0,0;119:3,1,0:0,90,0";
const std::string kOtherMoving = "0:0,-2,0:0,0,0;119:2,2,2:45,0,0";

const Change kChanges[] = {
    // Settings: SpreadMax 45 and 30 in turn.
    {"/api/items/1/settings",
     [](bool second) { return std::string(second ? R"({"SpreadMax": 30})" : R"({"SpreadMax": 45})"); },
     [](bool second, const std::string &settings, const std::string &motion) {
         return emitterInputs("builtin:grid:100x100", settings + (second ? "" : ".45"), motion);
     }},
    // The object: two grids of 10 000 points in turn.
    {"/api/items/1/object",
     [](bool second) {
         return std::string(second ? R"({"object": "builtin:grid:100x100"})" : R"({"object": "builtin:grid:125x80"})");
     },
     [](bool second, const std::string &settings, const std::string &motion) {
         return emitterInputs(second ? "builtin:grid:100x100" : "builtin:grid:125x80", settings, motion);
     }},
    // The motion: two paths in turn.
    {"/api/items/1/motion", [](bool second) { return "{\"keys\": \"" + (second ? kMoving : kOtherMoving) + "\"}"; },
     [](bool second, const std::string &settings, const std::string &) {
         return emitterInputs("builtin:grid:100x100", settings, second ? kMoving : kOtherMoving);
     }},
};

// state.range(0): the change (0 settings, 1 object, 2 motion); state.range(1): 0 still, 1 moving.
void BM_StudioChangeAgainstPlay(benchmark::State &state) {
    const Change &change = kChanges[state.range(0)];
    const fs::path directory = fs::temp_directory_path() / "plof_studio_bench";
    fs::create_directories(directory);
    const std::string settings = (directory / "s.plf").string();
    std::ofstream(settings) << kSettings;
    std::string spread45 = kSettings;
    spread45.replace(spread45.find("SpreadMax 30"), 12, "SpreadMax 45");
    std::ofstream(settings + ".45") << spread45;
    const std::string motion = state.range(1) ? kMoving : kStill;
    plof::e2e::Studio studio(PLOF_HOST_PATH, emitterInputs("builtin:grid:100x100", settings, motion));
    if (!studio.started()) {
        state.SkipWithError("plof-host studio did not start");
        return;
    }
    auto client = studio.client();
    double served = 0.0, played = 0.0;
    bool second = true;
    for (auto _ : state) {
        second = !second;
        // What the page asks after a change: the state, then every frame's
        // positions, looks and poses.
        const auto start = std::chrono::steady_clock::now();
        const auto changed = client->Put(change.path, change.body(second), "application/json");
        const auto frames = client->Get("/api/frames?from=0&to=119");
        const auto looks = client->Get("/api/looks?from=0&to=119");
        const auto poses = client->Get("/api/poses?from=0&to=119");
        const double studioSeconds = secondsSince(start);
        if (!changed || changed->status != 200 || !frames || frames->body.size() != kFrameBytes * 120 || !looks ||
            looks->status != 200 || !poses || poses->status != 200) {
            state.SkipWithError("the studio did not serve the frames");
            break;
        }
        // The same work through play.
        std::string command = "cd '" + directory.string() + "' && '" PLOF_HOST_PATH "' play --out points.csv";
        for (const std::string &input : change.inputs(second, settings, motion)) command += " '" + input + "'";
        const auto playStart = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("plof-host play failed");
            break;
        }
        const double playSeconds = secondsSince(playStart);
        served += studioSeconds;
        played += playSeconds;
        state.SetIterationTime(studioSeconds);
    }
    state.counters["studio_s"] = served / static_cast<double>(state.iterations());
    state.counters["play_s"] = played / static_cast<double>(state.iterations());
    state.counters["studio/play"] = served / played;
    studio.stop();
    fs::remove_all(directory);
}
BENCHMARK(BM_StudioChangeAgainstPlay)
    ->ArgNames({"change", "moving"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({2, 1})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
