// One call of portable_math.h's functions, of their exact path alone (what
// the fast path hands on when it cannot decide), and of the C library's, on
// 4096 arguments from 0.01 to 100 in size (log-uniform, either sign; for
// atan2 both coordinates so). Each iteration makes one call per argument.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "math/portable_math.h"
#include "math/trig_paths.h"

namespace {

// Made before the benchmarks start, so that none counts their making.
const std::vector<double> kArguments = [] {
    std::mt19937_64 random(26);
    std::uniform_real_distribution<double> logarithm(std::log(0.01), std::log(100.0));
    std::vector<double> v(4096);
    for (double &x : v) x = (random() % 2 == 0 ? 1.0 : -1.0) * std::exp(logarithm(random));
    return v;
}();

template <typename Function>
void eachArgument(benchmark::State &state, Function function) {
    const std::vector<double> &x = kArguments;
    for (auto _ : state) {
        for (size_t i = 0; i < x.size(); ++i) benchmark::DoNotOptimize(function(x[i], x[x.size() - 1 - i]));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(x.size()));
}

void BM_PortableSin(benchmark::State &s) {
    eachArgument(s, [](double x, double) { return plof::portableSin(x); });
}
void BM_PortableCos(benchmark::State &s) {
    eachArgument(s, [](double x, double) { return plof::portableCos(x); });
}
void BM_PortableTan(benchmark::State &s) {
    eachArgument(s, [](double x, double) { return plof::portableTan(x); });
}
void BM_PortableAtan2(benchmark::State &s) {
    eachArgument(s, [](double y, double x) { return plof::portableAtan2(y, x); });
}
void BM_ExactSin(benchmark::State &s) {
    eachArgument(s, [](double x, double) { return plof::exactSine(x); });
}
void BM_ExactCos(benchmark::State &s) {
    eachArgument(s, [](double x, double) { return plof::exactCosine(x); });
}
void BM_ExactTan(benchmark::State &s) {
    eachArgument(s, [](double x, double) { return plof::exactTangent(x); });
}
void BM_ExactAtan2(benchmark::State &s) {
    eachArgument(s, [](double y, double x) { return plof::exactArcTangent2(y, x); });
}
void BM_LibrarySin(benchmark::State &s) {
    eachArgument(s, [](double x, double) { return std::sin(x); });
}
void BM_LibraryCos(benchmark::State &s) {
    eachArgument(s, [](double x, double) { return std::cos(x); });
}
void BM_LibraryTan(benchmark::State &s) {
    eachArgument(s, [](double x, double) { return std::tan(x); });
}
void BM_LibraryAtan2(benchmark::State &s) {
    eachArgument(s, [](double y, double x) { return std::atan2(y, x); });
}

BENCHMARK(BM_PortableSin);
BENCHMARK(BM_PortableCos);
BENCHMARK(BM_PortableTan);
BENCHMARK(BM_PortableAtan2);
BENCHMARK(BM_ExactSin);
BENCHMARK(BM_ExactCos);
BENCHMARK(BM_ExactTan);
BENCHMARK(BM_ExactAtan2);
BENCHMARK(BM_LibrarySin);
BENCHMARK(BM_LibraryCos);
BENCHMARK(BM_LibraryTan);
BENCHMARK(BM_LibraryAtan2);

}  // namespace

BENCHMARK_MAIN();
