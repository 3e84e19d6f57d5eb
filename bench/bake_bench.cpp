// Scene baking at 1 000 x 60, 10 000 x 60, 10 000 x 150 and 10 000 x 300
// particles x frames: wall time per bake, MB of scene text written per
// second, and the peak heap the bake holds above what was allocated before
// it started.
//
// Peak memory is measured with a counting allocator: this program replaces
// the global operator new and delete, which every allocation of the module
// goes through, and records the highest number of live heap bytes (as
// malloc_usable_size counts them) during a bake. The stdio buffer of the
// scene file is not counted; it is a few kilobytes.
// The host is a tiny in-process one: the emitter's "LW Item Info" answers
// the update's axis and position queries.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "instance/handler_instance.h"
#include "instance/module_state.h"
#include "scene/scene_baking.h"
#include "scene/spin_assignment.h"

namespace {

// Live and peak heap bytes, counted by the size malloc gives each block.
std::size_t liveBytes = 0;
std::size_t peakBytes = 0;

[[gnu::noinline]] void *countedAllocate(std::size_t size) noexcept {
    void *block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) return nullptr;
    liveBytes += malloc_usable_size(block);
    if (liveBytes > peakBytes) peakBytes = liveBytes;
    return block;
}

[[gnu::noinline]] void countedFree(void *block) noexcept {
    if (block == nullptr) return;
    liveBytes -= malloc_usable_size(block);
    std::free(block);
}

}  // namespace

void *operator new(std::size_t size) {
    void *pointer = countedAllocate(size);
    if (pointer == nullptr) throw std::bad_alloc();
    return pointer;
}
void *operator new[](std::size_t size) { return operator new(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return countedAllocate(size); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return countedAllocate(size); }
void operator delete(void *pointer) noexcept { countedFree(pointer); }
void operator delete[](void *pointer) noexcept { countedFree(pointer); }
void operator delete(void *pointer, std::size_t) noexcept { countedFree(pointer); }
void operator delete[](void *pointer, std::size_t) noexcept { countedFree(pointer); }
void operator delete(void *pointer, const std::nothrow_t &) noexcept { countedFree(pointer); }
void operator delete[](void *pointer, const std::nothrow_t &) noexcept { countedFree(pointer); }

namespace {

// The emitter slides along +x and turns slowly about +Y.
void emitterParam(PlofItemId, int32_t code, double time, double vector[3]) {
    const double angle = 0.3 * time;
    switch (code) {
        case PLOF_PARAM_RIGHT: vector[0] = std::cos(angle), vector[1] = 0.0, vector[2] = -std::sin(angle); break;
        case PLOF_PARAM_UP: vector[0] = 0.0, vector[1] = 1.0, vector[2] = 0.0; break;
        case PLOF_PARAM_FORWARD: vector[0] = std::sin(angle), vector[1] = 0.0, vector[2] = std::cos(angle); break;
        default: vector[0] = 1.5 * time, vector[1] = 0.0, vector[2] = 0.0; break;
    }
}

// A fountain of `points` particles emitted over the first second, with
// spins, growing scale and dissolve envelopes: every key line the bake can write.
struct Fountain {
    explicit Fountain(int32_t points) : particles(static_cast<std::size_t>(points)) {
        instance = std::make_unique<plof::HandlerInstance>();
        plof::HandlerInstance &in = *instance;
        in.item = 1;
        in.pointCount = points;
        in.particles = particles.data();
        in.Gravity = 9.8;
        in.Regist = 0.2;
        in.Birth = points;
        in.ReCycle = 1;
        in.frameStep = 1;
        in.scaleCtl = 1;
        in.dslvCtl = 1;
        in.hpbMin = {-90.0, 0.0, 0.0};
        in.hpbMax = {90.0, 45.0, 10.0};
        in.objectList.count = 1;
        std::strcpy(in.objectList.names[0].data(), "Objects/drop.lwo");
        for (int32_t i = 0; i < points; ++i) {
            plof::Particle &p = particles[static_cast<std::size_t>(i)];
            p.index = i;
            const double azimuth = 0.017 * (i % 360);
            p.launchVelocity = {std::cos(azimuth) * 1.5, 3.0 + 0.001 * (i % 1000), std::sin(azimuth) * 1.5};
            p.lifetime = 10 + i % 50;
        }
        plof::assignSpins(in);
    }
    std::vector<plof::Particle> particles;
    std::unique_ptr<plof::HandlerInstance> instance;
};

void bakeBench(benchmark::State &state) {
    const auto points = static_cast<int32_t>(state.range(0));
    const auto frames = static_cast<int32_t>(state.range(1));
    plof::moduleState() = plof::freshModuleState();
    PlofItemInfo itemInfo{};
    itemInfo.param = &emitterParam;
    plof::moduleState().itemInfo = &itemInfo;
    Fountain fountain(points);
    const std::string path = (std::filesystem::temp_directory_path() / "plof_bake_bench.lws").string();

    std::size_t sceneBytes = 0;
    std::size_t peakAbove = 0;
    for (auto _ : state) {
        peakBytes = liveBytes;
        const std::size_t before = liveBytes;
        plof::bakeScene(path.c_str(), fountain.instance->objectList, frames, *fountain.instance);
        peakAbove = peakBytes - before;
        sceneBytes = static_cast<std::size_t>(std::filesystem::file_size(path));
    }
    std::filesystem::remove(path);
    plof::moduleState() = plof::freshModuleState();
    state.SetBytesProcessed(static_cast<int64_t>(sceneBytes) * state.iterations());
    state.counters["scene_MB"] = static_cast<double>(sceneBytes) / 1e6;
    state.counters["peak_heap_MB"] = static_cast<double>(peakAbove) / 1e6;
    state.counters["bytes_per_sample"] = static_cast<double>(peakAbove) / (static_cast<double>(points) * frames);
}

BENCHMARK(bakeBench)
    ->ArgNames({"particles", "frames"})
    ->Args({1000, 60})
    ->Args({10000, 60})
    ->Args({10000, 150})
    ->Args({10000, 300})
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
