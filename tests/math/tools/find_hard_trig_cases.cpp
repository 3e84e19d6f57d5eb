// Searches for the arguments whose sine, cosine, tangent or arc tangent lies
// closest to a midpoint between two doubles (the hardest to round), with GNU
// MPFR at 128 bits, and prints them as tests/math/hard_trig_cases.txt, the
// table portable_math_mpfr_test reads. Run once (it took a few minutes on two
// cores): find_hard_trig_cases [THREADS] > tests/math/hard_trig_cases.txt
//
// Candidates, each a deterministic function of its number:
// - the double nearest k pi/2 for k = 1 .. 2^25, where the reduction cancels most;
// - degrees in thousandths up to 5000 degrees, times 3.1415/180 as the module
//   converts them and times pi/180 as the host does;
// - doubles with random significands and exponents from -26 to 26 (up to 1e8);
// - for atan2, random pairs with ratios from 2^-60 to 1, each in its four
//   quarter-turn arrangements.
#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int64_t kMultiples = int64_t{1} << 25;
constexpr int64_t kThousandthsOfDegrees = 5'000'000;
constexpr int64_t kRandomArguments = 56'500'000;
constexpr int64_t kArguments = kMultiples + 2 * kThousandthsOfDegrees + kRandomArguments;
constexpr int64_t kRatioPairs = 25'000'000;
constexpr size_t kKept = 24;  // per function

uint64_t splitMix(uint64_t n) {
    uint64_t z = n * 0x9e3779b97f4a7c15u + 0x632be59bd9b4e019u;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

// 1.xxx * 2^exponent with the significand's 52 bits from `bits`.
double withSignificand(uint64_t bits, int exponent) {
    return std::ldexp(1.0 + static_cast<double>(bits >> 12) * 0x1p-52, exponent);
}

struct Case {
    double hardness = 0.0;  // -log2 of the distance to the nearest midpoint, in ulps
    double y = 0.0;
    double x = 0.0;
    bool operator<(const Case &other) const { return hardness > other.hardness; }
};

struct Found {
    std::vector<Case> sine, cosine, tangent, arcTangent;
    std::vector<Case> nearMultiples;  // "hardness": -log2 of the distance to the nearest multiple of pi/2
};

void keep(std::vector<Case> &cases, const Case &found) {
    if (cases.size() == kKept && found.hardness <= cases.back().hardness) return;
    cases.insert(std::upper_bound(cases.begin(), cases.end(), found), found);
    if (cases.size() > kKept) cases.pop_back();
}

class Searcher {
public:
    Searcher() {
        mpfr_inits2(128, pi_, value_, sine_, cosine_, scaled_, (mpfr_ptr) nullptr);
        mpfr_inits2(53, argument_, other_, (mpfr_ptr) nullptr);
        mpfr_const_pi(pi_, MPFR_RNDN);
    }
    ~Searcher() { mpfr_clears(pi_, value_, sine_, cosine_, scaled_, argument_, other_, (mpfr_ptr) nullptr); }
    Searcher(const Searcher &) = delete;
    Searcher &operator=(const Searcher &) = delete;

    void argument(int64_t n, Found &found) {
        const double x = candidate(n);
        if (!(x > 0.0 && x <= 1.0e8)) return;
        mpfr_set_d(argument_, x, MPFR_RNDN);
        mpfr_sin_cos(sine_, cosine_, argument_, MPFR_RNDN);
        keep(found.sine, {hardness(sine_), 0.0, x});
        keep(found.cosine, {hardness(cosine_), 0.0, x});
        mpfr_div(value_, sine_, cosine_, MPFR_RNDN);
        keep(found.tangent, {hardness(value_), 0.0, x});
        const double nearest =
            std::min(std::fabs(mpfr_get_d(sine_, MPFR_RNDN)), std::fabs(mpfr_get_d(cosine_, MPFR_RNDN)));
        keep(found.nearMultiples, {-std::log2(nearest), 0.0, x});
    }

    void ratio(int64_t n, Found &found) {
        const uint64_t random = splitMix(static_cast<uint64_t>(n) + (uint64_t{1} << 40));
        const double larger = withSignificand(random, 0);
        double smaller = withSignificand(splitMix(random), -static_cast<int>(random % 61));
        if (smaller > larger) smaller = larger;
        for (const auto &[y, x] : {std::pair{smaller, larger}, std::pair{larger, smaller}, std::pair{smaller, -larger},
                                   std::pair{larger, -smaller}}) {
            mpfr_set_d(argument_, y, MPFR_RNDN);
            mpfr_set_d(other_, x, MPFR_RNDN);
            mpfr_atan2(value_, argument_, other_, MPFR_RNDN);
            keep(found.arcTangent, {hardness(value_), y, x});
        }
    }

private:
    double candidate(int64_t n) {
        if (n < kMultiples) {
            mpfr_mul_si(value_, pi_, n + 1, MPFR_RNDN);
            mpfr_div_2ui(value_, value_, 1, MPFR_RNDN);
            return mpfr_get_d(value_, MPFR_RNDN);
        }
        n -= kMultiples;
        if (n < 2 * kThousandthsOfDegrees) {
            const double degrees = static_cast<double>(n / 2 + 1) / 1000.0;
            return n % 2 == 0 ? degrees * 3.1415 / 180 : degrees * (std::numbers::pi / 180.0);
        }
        const uint64_t random = splitMix(static_cast<uint64_t>(n));
        return withSignificand(random, static_cast<int>(random % 53) - 26);
    }

    // How close v comes to a midpoint between doubles: -log2 of the distance, in ulps.
    double hardness(const mpfr_t v) {
        mpfr_abs(scaled_, v, MPFR_RNDN);
        mpfr_mul_2si(scaled_, scaled_, 53 - mpfr_get_exp(v), MPFR_RNDN);  // in [2^52, 2^53)
        mpfr_frac(scaled_, scaled_, MPFR_RNDN);
        const double distance = std::fabs(mpfr_get_d(scaled_, MPFR_RNDN) - 0.5);
        return distance == 0.0 ? 128.0 : -std::log2(distance);
    }

    mpfr_t pi_, value_, sine_, cosine_, scaled_, argument_, other_;
};

void merge(std::vector<Case> &into, const std::vector<Case> &from) {
    for (const Case &c : from) keep(into, c);
}

void print(const char *name, const std::vector<Case> &cases, bool pair) {
    for (const Case &c : cases) {
        if (pair) {
            std::printf("%s %a %a %.1f\n", name, c.y, c.x, c.hardness);
        } else {
            std::printf("%s %a %.1f\n", name, c.x, c.hardness);
        }
    }
}

}  // namespace

int main(int argc, char **argv) {
    const int threads = argc > 1 ? std::atoi(argv[1]) : 2;
    if (threads < 1 || !mpfr_buildopt_tls_p()) {
        std::fprintf(stderr, "usage: find_hard_trig_cases [THREADS >= 1] (MPFR built thread-safe)\n");
        return 2;
    }
    std::vector<Found> found(static_cast<size_t>(threads));
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([t, threads, &found] {
            Searcher searcher;
            Found &mine = found[static_cast<size_t>(t)];
            for (int64_t n = t; n < kArguments; n += threads) searcher.argument(n, mine);
            for (int64_t n = t; n < kRatioPairs; n += threads) searcher.ratio(n, mine);
            mpfr_free_cache();
        });
    }
    for (std::thread &worker : workers) worker.join();
    Found all;
    for (const Found &f : found) {
        merge(all.sine, f.sine);
        merge(all.cosine, f.cosine);
        merge(all.tangent, f.tangent);
        merge(all.arcTangent, f.arcTangent);
        merge(all.nearMultiples, f.nearMultiples);
    }
    std::printf(
        "# The arguments whose results lie closest to a midpoint between doubles, found by\n"
        "# tests/math/tools/find_hard_trig_cases.cpp with GNU MPFR at 128 bits among %lld arguments\n"
        "# of sin, cos and tan and %lld ratios of atan2 (each in four arrangements).\n"
        "# function, argument(s) in hexadecimal, then b: the exact result lies 2^-b ulp from a midpoint;\n"
        "# \"near\": arguments 2^-b from a multiple of pi/2, for all three of sin, cos and tan.\n",
        static_cast<long long>(kArguments), static_cast<long long>(kRatioPairs));
    print("sin", all.sine, false);
    print("cos", all.cosine, false);
    print("tan", all.tangent, false);
    print("atan2", all.arcTangent, true);
    print("near", all.nearMultiples, false);
    return 0;
}
