// portable_math.h against GNU MPFR: every result must be the double MPFR
// rounds to, through the functions as the module calls them and through the
// exact path alone (the fast path left out), on the angles the system forms,
// the hardest cases a search found, and a random sample over the whole domain.
// The sample's size in arguments: PLOF_TRIG_SAMPLE (PLOF_TRIG_EXACT_SAMPLE of
// them through the exact path alone) in the environment, else the build's
// defaults (tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <numbers>
#include <random>
#include <sstream>
#include <vector>

#include "math/mpfr_reference.h"
#include "math/trig_paths.h"

namespace plof::test {
namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// One call: the function and its argument (y only for atan2).
struct Call {
    Function function;
    double y;
    double x;
};

double portable(const Call &c) {
    switch (c.function) {
        case Function::sine: return portableSin(c.x);
        case Function::cosine: return portableCos(c.x);
        case Function::tangent: return portableTan(c.x);
        default: return portableAtan2(c.y, c.x);
    }
}

// Steps 1 and 2 of trig_paths.h: true with the result when they decide.
bool withoutExactPath(const Call &c, double &result) {
    switch (c.function) {
        case Function::sine: return sineAnsweredDirectly(c.x, result) || roundsOneWay(sineEstimate(c.x), result);
        case Function::cosine: return cosineAnsweredDirectly(c.x, result) || roundsOneWay(cosineEstimate(c.x), result);
        case Function::tangent:
            return tangentAnsweredDirectly(c.x, result) || roundsOneWay(tangentEstimate(c.x), result);
        default:
            return arcTangent2AnsweredDirectly(c.y, c.x, result) || roundsOneWay(arcTangent2Estimate(c.y, c.x), result);
    }
}

// Step 1, then straight to the exact path: the fast path switched off.
double withoutFastPath(const Call &c) {
    double result = 0.0;
    switch (c.function) {
        case Function::sine: return sineAnsweredDirectly(c.x, result) ? result : exactSine(c.x);
        case Function::cosine: return cosineAnsweredDirectly(c.x, result) ? result : exactCosine(c.x);
        case Function::tangent: return tangentAnsweredDirectly(c.x, result) ? result : exactTangent(c.x);
        default: return arcTangent2AnsweredDirectly(c.y, c.x, result) ? result : exactArcTangent2(c.y, c.x);
    }
}

std::string describe(const Call &c) {
    char text[96];
    if (c.function == Function::arcTangent2) {
        std::snprintf(text, sizeof text, "atan2(%a, %a)", c.y, c.x);
    } else {
        std::snprintf(text, sizeof text, "%s(%a)", functionName(c.function), c.x);
    }
    return text;
}

// Checks every call against MPFR, through `compute`; reports the first few misses.
template <typename Compute>
void expectCorrectlyRounded(const std::vector<Call> &calls, Compute compute, const char *path) {
    int misses = 0;
    for (const Call &c : calls) {
        const double expected = correctlyRounded(c.function, c.y, c.x);
        const double actual = compute(c);
        if (!sameBits(actual, expected) && ++misses <= 5) {
            ADD_FAILURE() << path << ": " << describe(c) << " = " << std::hexfloat << actual << ", not " << expected;
        }
    }
    EXPECT_EQ(misses, 0) << path << ": of " << calls.size() << " calls";
}

void addTrigCalls(std::vector<Call> &calls, double x) {
    for (Function f : {Function::sine, Function::cosine, Function::tangent}) calls.push_back({f, 0.0, x});
}

size_t sampleSize(const char *variable, size_t fallback) {
    const char *text = std::getenv(variable);
    return text != nullptr ? static_cast<size_t>(std::strtoull(text, nullptr, 10)) : fallback;
}

// Random significands; for sin, cos and tan exponents spread evenly from
// -26 to 26 (up to 1e8), one in eight from -1074 to -27 where the answer is
// x or 1; for atan2 x anywhere in the exponent range and y mostly within
// 2^64 of it, every sign.
std::vector<Call> randomSample(size_t count) {
    std::mt19937_64 random(20260226);
    auto signedValue = [&](int exponent) {
        const double significand = 1.0 + static_cast<double>(random() >> 12) * 0x1p-52;
        return (random() % 2 == 0 ? 1.0 : -1.0) * std::ldexp(significand, exponent);
    };
    std::vector<Call> calls;
    calls.reserve(4 * count);
    for (size_t i = 0; i < count; ++i) {
        double x = 0.0;
        do {
            x = signedValue(i % 8 == 7 ? -27 - static_cast<int>(random() % 1048)
                                       : static_cast<int>(random() % 53) - 26);
        } while (std::fabs(x) > kLargestTrigArgument);
        addTrigCalls(calls, x);
        const int xExponent = static_cast<int>(random() % 2098) - 1074;
        const int gap = i % 4 == 3 ? static_cast<int>(random() % 2098) - 1074 : static_cast<int>(random() % 129) - 64;
        const int yExponent = std::max(-1074, std::min(1023, xExponent + gap));
        calls.push_back({Function::arcTangent2, signedValue(yExponent), signedValue(xExponent)});
    }
    return calls;
}

TEST(CorrectlyRoundedTrigonometry, WholeDegreesAsTheModuleAndTheHostConvertThem) {
    std::vector<Call> calls;
    for (int degrees = -3600; degrees <= 3600; ++degrees) {
        addTrigCalls(calls, static_cast<double>(degrees) * 3.1415 / 180);  // the module: launch and spread angles
        addTrigCalls(calls, degrees * (std::numbers::pi / 180.0));         // the host: headings, pitches, banks
    }
    // The headings the module bakes: atan2 of its launch directions over whole degrees.
    for (int elevation = -90; elevation <= 90; elevation += 5) {
        for (int azimuth = 0; azimuth < 360; ++azimuth) {
            const double e = static_cast<double>(elevation) * 3.1415 / 180;
            const double a = static_cast<double>(azimuth) * 3.1415 / 180;
            const double horizontal = portableCos(e);
            calls.push_back({Function::arcTangent2, -1.0 * (horizontal * portableSin(a)), horizontal * portableCos(a)});
        }
    }
    expectCorrectlyRounded(calls, portable, "portable");
}

struct HardCase {
    Call call;
    double bits;  // the exact result lies 2^-bits ulp from a midpoint
};

std::vector<HardCase> hardCases() {
    std::ifstream in(PLOF_SOURCE_DIR "/tests/math/hard_trig_cases.txt");
    std::vector<HardCase> cases;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, first, second;
        fields >> name >> first;
        double bits = 0.0;
        if (name == "atan2") {
            fields >> second >> bits;
            cases.push_back(
                {{Function::arcTangent2, std::strtod(first.c_str(), nullptr), std::strtod(second.c_str(), nullptr)},
                 bits});
            continue;
        }
        fields >> bits;
        const double x = std::strtod(first.c_str(), nullptr);
        for (Function f : {Function::sine, Function::cosine, Function::tangent}) {
            if (name == functionName(f) || name == "near") cases.push_back({{f, 0.0, x}, name == "near" ? 0.0 : bits});
        }
    }
    return cases;
}

bool exactAt(const Call &c, int words, double &result) {
    switch (c.function) {
        case Function::sine: return exactSineAt(c.x, words, result);
        case Function::cosine: return exactCosineAt(c.x, words, result);
        case Function::tangent: return exactTangentAt(c.x, words, result);
        default: return exactArcTangent2At(c.y, c.x, words, result);
    }
}

// Results within 2^-24 ulp of a midpoint are beyond the fast path's bound
// (about 2^-12 ulp) and beyond 64 bits of fraction (3 words), so each must
// fall through both to a finer precision: 288 bits (10 words) decide every
// one (128 bits all but the atan2 results near 2^-60, whose fixed-point
// value then keeps too few bits).
TEST(CorrectlyRoundedTrigonometry, HardestCasesOfTheSearchFallThroughToTheExactPath) {
    const std::vector<HardCase> cases = hardCases();
    ASSERT_GE(cases.size(), 100u) << "tests/math/hard_trig_cases.txt";
    std::vector<Call> calls;
    for (const HardCase &hard : cases) {
        calls.push_back(hard.call);
        if (hard.bits < 24) continue;
        double result = 0.0;
        EXPECT_FALSE(withoutExactPath(hard.call, result)) << describe(hard.call) << " decided by the fast path";
        EXPECT_FALSE(exactAt(hard.call, 3, result)) << describe(hard.call) << " decided with 64 bits";
        EXPECT_TRUE(exactAt(hard.call, 10, result)) << describe(hard.call) << " undecided with 288 bits";
    }
    expectCorrectlyRounded(calls, portable, "portable");
    expectCorrectlyRounded(calls, withoutFastPath, "exact path alone");
}

// The sample through the functions, and (its first PLOF_TRIG_EXACT_SAMPLE
// calls) once more through the exact path alone; how often the exact path
// runs, by function.
TEST(CorrectlyRoundedTrigonometry, RandomSampleOverTheWholeDomain) {
    const size_t exactCount = sampleSize("PLOF_TRIG_EXACT_SAMPLE", PLOF_TRIG_EXACT_SAMPLE);
    const std::vector<Call> calls = randomSample(sampleSize("PLOF_TRIG_SAMPLE", PLOF_TRIG_SAMPLE));
    int misses = 0, exactMisses = 0;
    size_t exactPath[4] = {}, counted[4] = {};
    for (size_t i = 0; i < calls.size(); ++i) {
        const Call &c = calls[i];
        const double expected = correctlyRounded(c.function, c.y, c.x);
        if (!sameBits(portable(c), expected) && ++misses <= 5) {
            ADD_FAILURE() << describe(c) << " = " << std::hexfloat << portable(c) << ", not " << expected;
        }
        if (i < 4 * exactCount && !sameBits(withoutFastPath(c), expected) && ++exactMisses <= 5) {
            ADD_FAILURE() << "exact path alone: " << describe(c) << " = " << std::hexfloat << withoutFastPath(c)
                          << ", not " << expected;
        }
        double result = 0.0;
        const auto f = static_cast<size_t>(c.function);
        ++counted[f];
        if (!withoutExactPath(c, result)) ++exactPath[f];
    }
    EXPECT_EQ(misses, 0) << "of " << calls.size() << " calls";
    EXPECT_EQ(exactMisses, 0) << "of " << std::min(calls.size(), 4 * exactCount)
                              << " calls through the exact path alone";
    for (size_t f = 0; f < 4; ++f) {
        std::printf("%s: exact path in %zu of %zu calls\n", functionName(static_cast<Function>(f)), exactPath[f],
                    counted[f]);
    }
}

Estimate estimate(const Call &c) {
    switch (c.function) {
        case Function::sine: return sineEstimate(c.x);
        case Function::cosine: return cosineEstimate(c.x);
        case Function::tangent: return tangentEstimate(c.x);
        default: return arcTangent2Estimate(c.y, c.x);
    }
}

// The rounding test is only as good as the bound: measured against MPFR at
// 256 bits, no estimate may stray further than its bound says.
TEST(CorrectlyRoundedTrigonometry, FastEstimatesStayWithinTheirErrorBounds) {
    std::vector<Call> calls = randomSample(sampleSize("PLOF_TRIG_EXACT_SAMPLE", PLOF_TRIG_EXACT_SAMPLE) / 10);
    for (const HardCase &hard : hardCases()) calls.push_back(hard.call);
    mpfr_t exact, estimated;
    mpfr_inits2(256, exact, estimated, static_cast<mpfr_ptr>(nullptr));
    double worst = 0.0;  // the largest error as a fraction of its bound
    for (const Call &c : calls) {
        double result = 0.0;
        const bool direct = c.function == Function::arcTangent2
                                ? arcTangent2AnsweredDirectly(c.y, c.x, result)
                                : tangentAnsweredDirectly(c.x, result) || sineAnsweredDirectly(c.x, result);
        if (direct) continue;
        const Estimate e = estimate(c);
        mpfrEvaluate(exact, c.function, c.y, c.x);
        mpfr_set_d(estimated, e.value.high, MPFR_RNDN);
        mpfr_add_d(estimated, estimated, e.value.low, MPFR_RNDN);
        mpfr_sub(estimated, estimated, exact, MPFR_RNDN);
        const double ratio = std::fabs(mpfr_get_d(estimated, MPFR_RNDN)) / e.errorBound;
        EXPECT_LE(ratio, 1.0) << describe(c);
        worst = std::max(worst, ratio);
    }
    mpfr_clears(exact, estimated, static_cast<mpfr_ptr>(nullptr));
    std::printf("largest error of an estimate: %.3f of its bound\n", worst);
}

}  // namespace
}  // namespace plof::test
