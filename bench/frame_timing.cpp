// One frame of 100 000 points through the stand-in host, as frame_bench plays
// it (frame_scene.h), timed without Google Benchmark so that the same program
// runs natively and as WebAssembly under Node: bench/web_frame_bench.mjs runs
// both in one go.
//   frame_timing [MODULE]
// loads MODULE (natively; default the plof.p of this build) or the module
// built in (WebAssembly), and prints a line "EMITTER MILLISECONDS" per kind of
// emitter: the median time of one frame over five rounds of 30 frames.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>

#include "frame_scene.h"
#include "host/module/loaded_handler.h"
#include "host/module/module_loader.h"
#include "host/play/frame_loop.h"
#include "host/play/scene_services.h"
#include "host/run/host_process.h"

namespace {

using namespace plof::host;
using plof::bench::kFirstFlightFrame;
using plof::bench::kLastFlightFrame;

constexpr int64_t kPoints = 100'000;

double medianFrameMilliseconds(const LoadedModule &module, bool moving) {
    HostScene scene = plof::bench::frameScene(kPoints, moving, true);
    HostServices services(scene, 30.0);
    const EffectHandler handler(module, 2);
    EffectPlayer player(handler, scene, services);
    auto playFlight = [&player] {
        for (int32_t frame = kFirstFlightFrame; frame <= kLastFlightFrame; ++frame) {
            player.runEffects(frame, frame / 30.0);
        }
    };
    playFlight();  // warms caches and the WebAssembly engine's tiers
    std::array<double, 5> rounds{};
    for (double &round : rounds) {
        const auto start = std::chrono::steady_clock::now();
        playFlight();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        round = took.count() / (kLastFlightFrame - kFirstFlightFrame + 1);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

}  // namespace

int main(int argc, char **argv) {
    try {
        const HostProcess process;
        const auto module = LoadedModule::open(argc > 1 ? argv[1] : PLOF_MODULE_PATH);
        std::printf("still %.3f\n", medianFrameMilliseconds(*module, false));
        std::printf("moving %.3f\n", medianFrameMilliseconds(*module, true));
        return 0;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "frame_timing: %s\n", error.what());
        return 1;
    }
}
