// One frame of the effect through the stand-in host: newTime, then evaluate
// for every point, as plof-host plays it, with plof.p loaded as the host
// loads it. Reports particles per second and the host's item queries per frame.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "frame_scene.h"
#include "host/base/host_error.h"
#include "host/module/loaded_handler.h"
#include "host/module/module_loader.h"
#include "host/play/frame_loop.h"
#include "host/play/scene_services.h"
#include "host/run/host_process.h"

namespace {

using namespace plof::host;

// The host runs for every benchmark, as for the whole of a plof-host run.
const HostProcess kProcess;

// The module, loaded once for every benchmark; null with `error` set when it cannot be.
const LoadedModule *module(std::string &error) {
    static std::string loadError;
    static const std::unique_ptr<LoadedModule> loaded = [] {
        try {
            return LoadedModule::open(PLOF_MODULE_PATH);
        } catch (const ModuleError &failure) {
            loadError = failure.what();
            return std::unique_ptr<LoadedModule>();
        }
    }();
    error = loadError;
    return loaded.get();
}

void playFrames(benchmark::State &state, bool moving, bool resistance = true) {
    std::string error;
    const LoadedModule *loaded = module(error);
    if (!loaded) {
        state.SkipWithError(error.c_str());
        return;
    }
    const int64_t points = state.range(0);
    HostScene scene = plof::bench::frameScene(points, moving, resistance);

    HostServices services(scene, 30.0);
    const EffectHandler handler(*loaded, 2);
    EffectPlayer player(handler, scene, services);
    const uint64_t queriesBefore = services.parameterQueries();
    int32_t frame = plof::bench::kFirstFlightFrame;
    for (auto _ : state) {
        player.runEffects(frame, frame / 30.0);
        frame = frame == plof::bench::kLastFlightFrame ? plof::bench::kFirstFlightFrame : frame + 1;
    }
    const auto frames = static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * points);
    state.counters["queries/frame"] =
        benchmark::Counter(static_cast<double>(services.parameterQueries() - queriesBefore) / frames);
}

void BM_FrameStillEmitter(benchmark::State &state) { playFrames(state, false); }
void BM_FrameMovingEmitter(benchmark::State &state) { playFrames(state, true); }
void BM_FrameStillEmitterNoResistance(benchmark::State &state) { playFrames(state, false, false); }

BENCHMARK(BM_FrameStillEmitter)->Arg(1'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameMovingEmitter)->Arg(1'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameStillEmitterNoResistance)->Arg(1'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
