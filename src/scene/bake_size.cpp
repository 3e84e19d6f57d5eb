#include "scene/bake_size.h"

#include "plof/bake_limit.h"

namespace plof {

bool planBake(int32_t particles, int32_t frameCount, int32_t frameStep, BakeSize &size) {
    const int64_t step = frameStep > 0 ? frameStep : 1;
    const int64_t frames = frameCount > 0 ? (int64_t{frameCount} - 1) / step + 1 : 0;
    const int64_t count = particles > 0 ? particles : 0;
    size.sampledFrames = static_cast<int32_t>(frames);
    // Both factors are below 2^31, so the product fits 64 bits.
    size.particleSamples = static_cast<uint64_t>(count) * static_cast<uint64_t>(frames);
    return size.particleSamples <= PLOF_BAKE_MAX_SAMPLES;
}

}  // namespace plof
