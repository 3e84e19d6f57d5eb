// plof-host render to PNG against plof-host play to CSV, both as a person
// runs them, on the same input: 100 000 points x 60 frames, every point in
// flight from frame 29 on (Birth 100 000: the recycle period is 30 frames),
// under gravity and air resistance. Reports each command's wall time and
// the render's time as a multiple of play's in the same run ("x_play").
// The commands run as child processes, so the time is wall time (real
// time), not this program's CPU time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::filesystem::path &workDirectory() {
    static const std::filesystem::path directory = [] {
        const auto path = std::filesystem::temp_directory_path() / "plof_render_bench";
        std::filesystem::create_directories(path);
        std::ofstream(path / "burst.plf") << "PLOF_START\nV0Min 3\nV0Max 6\nAgeMin 20\nAgeMax 40\nGravity 9.8\n"
                                             "Regist 0.3\nBirth 100000\nReCycle 1\nSpreadMin 0\nSpreadMax 60\n"
                                             "OrgEmit 0\nREFERENCE\nnone\nPLOF_END\n";
        return path;
    }();
    return directory;
}

double playSeconds = 0.0;

double runHost(const std::string &arguments) {
    const std::string command = "cd '" + workDirectory().string() + "' && '" PLOF_HOST_PATH "' " + arguments +
                                " --object builtin:sphere:100000 --settings burst.plf --frames 0..59 2>/dev/null";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (status != 0) std::abort();
    return elapsed.count();
}

// Runs the command once per iteration; returns its mean wall time.
double timeCommand(benchmark::State &state, const std::string &arguments) {
    double total = 0.0;
    for (auto _ : state) {
        const double seconds = runHost(arguments);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    return total / static_cast<double>(state.iterations());
}

void BM_PlayToCsv(benchmark::State &state) { playSeconds = timeCommand(state, "play --out points.csv"); }

void BM_RenderToPng(benchmark::State &state) {
    state.counters["x_play"] = timeCommand(state, "render --out picture.png") / playSeconds;
}

// Play first: the render's ratio is taken against it.
BENCHMARK(BM_PlayToCsv)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(BM_RenderToPng)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
