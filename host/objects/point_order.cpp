// The order of an object's points: a deterministic shuffle, the same on every build.

#include "host/objects/point_order.h"

#include <cstdint>
#include <utility>

namespace plof::host {

namespace {

// SplitMix64: a small generator whose sequence is fixed by its seed on every build.
uint64_t nextNumber(uint64_t &state) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

void shufflePoints(std::vector<float> &points, uint64_t seed) {
    const std::size_t count = points.size() / 3;
    uint64_t state = seed;
    // Fisher-Yates, from the last point down.
    for (std::size_t i = count; i > 1; --i) {
        const auto j = static_cast<std::size_t>(nextNumber(state) % i);
        for (std::size_t c = 0; c < 3; ++c) std::swap(points[3 * (i - 1) + c], points[3 * j + c]);
    }
}

}  // namespace plof::host
