// plof-host studio after a change of settings, against plof-host play of the
// same work in the same run: the time from sending the change
// (PUT /api/items/1/settings) until the positions of every frame are served
// (GET /api/frames), 10 000 points x 120 frames, and the time of
// `plof-host play --out points.csv` for the changed settings. For a still
// and a moving emitter (the host poses a moving one at every particle's
// birth time). The goal: the studio at most as slow as one play run.
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

// state.range(0): 0 still, 1 moving.
void BM_StudioChangeAgainstPlay(benchmark::State &state) {
    const fs::path directory = fs::temp_directory_path() / "plof_studio_bench";
    fs::create_directories(directory);
    std::ofstream(directory / "s.plf") << kSettings;
    const std::string motion = state.range(0) ? "0:-3,0,0:0,0,0;119:3,1,0:0,90,0" : "0:0,0,0";
    const std::vector<std::string> inputs{"--object",   "builtin:grid:100x100",
                                          "--settings", (directory / "s.plf").string(),
                                          "--frames",   "0..119",
                                          "--motion",   motion};
    plof::e2e::Studio studio(PLOF_HOST_PATH, inputs);
    if (!studio.started()) {
        state.SkipWithError("plof-host studio did not start");
        return;
    }
    auto client = studio.client();
    double served = 0.0, played = 0.0;
    int spread = 30;
    for (auto _ : state) {
        spread = spread == 30 ? 45 : 30;
        const std::string change = "{\"SpreadMax\": " + std::to_string(spread) + "}";
        const auto start = std::chrono::steady_clock::now();
        const auto changed = client->Put("/api/items/1/settings", change, "application/json");
        const auto frames = client->Get("/api/frames?from=0&to=119");
        const double studioSeconds = secondsSince(start);
        if (!changed || changed->status != 200 || !frames || frames->body.size() != kFrameBytes * 120) {
            state.SkipWithError("the studio did not serve the frames");
            break;
        }
        // The same work through play: the changed settings from a .plf file.
        std::string settings = kSettings;
        settings.replace(settings.find("SpreadMax 30"), 12, "SpreadMax " + std::to_string(spread));
        std::ofstream(directory / "changed.plf") << settings;
        std::string command = "cd '" + directory.string() + "' && '" PLOF_HOST_PATH "' play --out points.csv";
        for (const std::string &input : inputs) command += " '" + input + "'";
        command.replace(command.find("s.plf"), 5, "changed.plf");
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
    ->ArgName("moving")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
