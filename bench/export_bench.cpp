// plof-host export to a .glb against plof-host play to CSV of the same input
// (10 000 points x 300 frames), both run as the program a user runs, one
// after the other in each iteration: wall time of each, their ratio, and the
// sizes of the two files.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// A 100 x 100 grid relaunching every particle once a second, so that most
// of them are in flight at any frame.
constexpr const char *kSettings =
    "PLOF_START\nV0Min 3\nV0Max 5\nAgeMin 20\nAgeMax 40\nGravity 9.8\nRegist 0.2\nSTART_F 0\nBirth 10000\n"
    "ReCycle 1\nSpreadMin 0\nSpreadMax 30\nOrgEmit 0\nREFERENCE\nnone\nPLOF_END\n";

// Wall seconds of one run of plof-host, or a negative number when it failed.
double secondsOf(const fs::path &directory, const std::string &arguments) {
    const std::string command = "cd '" + directory.string() + "' && '" PLOF_HOST_PATH "' " + arguments +
                                " --object builtin:grid:100x100 --settings s.plf --frames 0..299";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return status == 0 ? elapsed.count() : -1.0;
}

void BM_ExportAgainstPlay(benchmark::State &state) {
    const fs::path directory = fs::temp_directory_path() / "plof_export_bench";
    fs::create_directories(directory);
    std::ofstream(directory / "s.plf") << kSettings;
    double play = 0.0, exported = 0.0;
    for (auto _ : state) {
        const double playSeconds = secondsOf(directory, "play --out points.csv");
        const double exportSeconds = secondsOf(directory, "export --out points.glb");
        if (playSeconds < 0.0 || exportSeconds < 0.0) {
            state.SkipWithError("plof-host failed");
            break;
        }
        play += playSeconds;
        exported += exportSeconds;
        state.SetIterationTime(exportSeconds);
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["play_s"] = play / runs;
    state.counters["export_s"] = exported / runs;
    state.counters["export/play"] = exported / play;
    state.counters["glb_MB"] = static_cast<double>(fs::file_size(directory / "points.glb")) / 1e6;
    state.counters["csv_MB"] = static_cast<double>(fs::file_size(directory / "points.csv")) / 1e6;
    fs::remove_all(directory);
}
BENCHMARK(BM_ExportAgainstPlay)->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
