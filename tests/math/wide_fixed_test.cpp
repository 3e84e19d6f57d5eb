// wide_fixed against exact arithmetic in GNU MPFR (at 4096 bits every number
// here and every product of two is exact), on operands whose words are drawn
// from values that reach the rare branches of long division (a quotient word
// estimated one too high, which must be added back) as well as random words.
#include "math/wide_fixed.h"

#include <gtest/gtest.h>
#include <mpfr.h>

#include <random>

namespace plof {
namespace {

class Exact {
public:
    Exact() { mpfr_init2(v, 4096); }
    ~Exact() { mpfr_clear(v); }
    Exact(const Exact &) = delete;
    Exact &operator=(const Exact &) = delete;

    explicit Exact(const Fixed &a) : Exact() {
        mpfr_set_ui(v, 0, MPFR_RNDN);
        for (int i = a.words - 1; i >= 0; --i) {
            mpfr_mul_2ui(v, v, 32, MPFR_RNDN);
            mpfr_add_ui(v, v, a.w[i], MPFR_RNDN);
        }
        mpfr_div_2ui(v, v, static_cast<unsigned long>(32 * (a.words - 1)), MPFR_RNDN);
    }
    mpfr_t v;
};

Fixed drawn(std::mt19937_64 &random, int words) {
    static constexpr uint32_t kEdges[] = {0, 1, 2, 0x7fffffffu, 0x80000000u, 0xfffffffeu, 0xffffffffu};
    Fixed a = fixedUnits(0, words);
    for (int i = 0; i < words; ++i) {
        a.w[i] = random() % 3 == 0 ? static_cast<uint32_t>(random()) : kEdges[random() % 7];
    }
    return a;
}

// floor(exact / unit) == a: a <= exact < a + unit.
void expectTruncationOf(const mpfr_t exact, const Fixed &a, const char *what) {
    Exact low(a);
    Fixed next = a;
    add(next, fixedUnits(1, a.words));
    Exact high(next);
    EXPECT_TRUE(mpfr_lessequal_p(low.v, exact) && mpfr_less_p(exact, high.v))
        << what << " with " << a.words << " words";
}

TEST(WideFixed, MultipliesAndDividesToTheUnitBelowTheExactValue) {
    std::mt19937_64 random(17);
    int divisions = 0;
    for (int i = 0; i < 20000; ++i) {
        const int words = i % 10 == 0 ? kMaxFixedWords : 2 + static_cast<int>(random() % 8);
        Fixed a = drawn(random, words);
        Fixed b = drawn(random, words);
        a.w[words - 1] %= 4;  // products and quotients of these stay within the integer word
        b.w[words - 1] %= 4;
        Exact exactA(a), exactB(b), exact;
        mpfr_mul(exact.v, exactA.v, exactB.v, MPFR_RNDN);
        expectTruncationOf(exact.v, multiply(a, b), "product");
        if (isZero(b)) continue;
        mpfr_div(exact.v, exactA.v, exactB.v, MPFR_RNDZ);
        if (mpfr_cmp_ui(exact.v, 0x7fffffff) >= 0) continue;  // the quotient must stay below 2^32
        // The quotient, rounded toward zero at 4096 bits, has the same floor in units as the exact one.
        expectTruncationOf(exact.v, divide(a, b), "quotient");
        ++divisions;
    }
    EXPECT_GT(divisions, 10000);
}

TEST(WideFixed, RoundsToTheNearestDoubleWithTiesToEven) {
    std::mt19937_64 random(5);
    for (int i = 0; i < 20000; ++i) {
        const int words = 3 + static_cast<int>(random() % 5);
        Fixed a = drawn(random, words);
        if (isZero(a)) continue;
        const int scale = static_cast<int>(random() % 200) - 100;
        Exact exact(a);
        mpfr_mul_2si(exact.v, exact.v, scale, MPFR_RNDN);
        ASSERT_EQ(roundToDouble(a, scale), mpfr_get_d(exact.v, MPFR_RNDN)) << i;
    }
    // Halfway between two doubles, each way of breaking the tie, and a carry into the exponent.
    Fixed tie = fixedUnits(0, 3);
    tie.w[2] = 1;
    tie.w[0] = 0x800u;  // 1 + 2^-53: rounds down to 1
    EXPECT_EQ(roundToDouble(tie, 0), 1.0);
    tie.w[0] = 0x1800u;  // 1 + 3 2^-53: rounds up to 1 + 2^-51
    EXPECT_EQ(roundToDouble(tie, 0), 1.0 + 0x1p-51);
    Fixed carry = fixedUnits(0, 3);
    carry.w[2] = 1;
    carry.w[1] = 0xffffffffu;
    carry.w[0] = 0xfffff800u;  // 2 - 2^-53: rounds up to 2
    EXPECT_EQ(roundToDouble(carry, 0), 2.0);
}

TEST(WideFixed, HoldsDoublesExactlyDownToItsUnit) {
    for (double v : {1.0, 0x1.921fb54442d18p+0, 0x1.fffffffffffffp+26, 0x1p-60, 0x1.8p-95}) {
        EXPECT_EQ(roundToDouble(fixedFromDouble(v, 4), 0), v) << v;
    }
    // Below the unit of 4 words (2^-96), bits are truncated.
    EXPECT_EQ(roundToDouble(fixedFromDouble(0x1.0000000000001p-60, 3), 0), 0x1p-60);
    EXPECT_TRUE(isZero(fixedFromDouble(0x1p-97, 4)));
}

}  // namespace
}  // namespace plof
