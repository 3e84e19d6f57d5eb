// The tables of the correctly rounded trigonometry against GNU MPFR: each
// double-double entry the nearest double and the double nearest the rest, pi/2's
// words its truncation.
#include "math/trig_tables.h"

#include <gtest/gtest.h>
#include <mpfr.h>

namespace plof {
namespace {

class Precise {
public:
    Precise() { mpfr_init2(v, 1024); }
    ~Precise() { mpfr_clear(v); }
    Precise(const Precise &) = delete;
    Precise &operator=(const Precise &) = delete;
    mpfr_t v;
};

void expectDoubleDouble(const mpfr_t exact, const DoubleDouble &entry, const char *table, unsigned index) {
    Precise rest;
    const double high = mpfr_get_d(exact, MPFR_RNDN);
    mpfr_sub_d(rest.v, exact, high, MPFR_RNDN);
    EXPECT_EQ(entry.high, high) << table << "[" << index << "]";
    EXPECT_EQ(entry.low, mpfr_get_d(rest.v, MPFR_RNDN)) << table << "[" << index << "]";
}

TEST(TrigTables, HoldTheCorrectlyRoundedValues) {
    Precise pi, value;
    mpfr_const_pi(pi.v, MPFR_RNDN);
    for (unsigned j = 0; j <= kStepsPerQuarterTurn; ++j) {
        mpfr_mul_ui(value.v, pi.v, j, MPFR_RNDN);
        mpfr_div_ui(value.v, value.v, 2 * kStepsPerQuarterTurn, MPFR_RNDN);
        mpfr_sin(value.v, value.v, MPFR_RNDN);
        expectDoubleDouble(value.v, kSineOfSteps[j], "kSineOfSteps", j);
    }
    for (unsigned i = 0; i <= kArcTangentSteps; ++i) {
        mpfr_set_ui(value.v, i, MPFR_RNDN);
        mpfr_div_ui(value.v, value.v, kArcTangentSteps, MPFR_RNDN);
        mpfr_atan(value.v, value.v, MPFR_RNDN);
        expectDoubleDouble(value.v, kArcTangentOfSteps[i], "kArcTangentOfSteps", i);
    }
    // The words read as a number fall short of pi/2 by less than their last bit.
    mpfr_set_ui(value.v, 0, MPFR_RNDN);
    for (uint32_t word : kHalfPiWords) {
        mpfr_mul_2ui(value.v, value.v, 32, MPFR_RNDN);
        mpfr_add_ui(value.v, value.v, word, MPFR_RNDN);
    }
    mpfr_div_2ui(value.v, value.v, 32 * (kHalfPiWordCount - 1), MPFR_RNDN);
    mpfr_div_2ui(pi.v, pi.v, 1, MPFR_RNDN);
    mpfr_sub(value.v, pi.v, value.v, MPFR_RNDN);
    EXPECT_GT(mpfr_sgn(value.v), 0);
    EXPECT_LT(mpfr_get_exp(value.v), -32 * (kHalfPiWordCount - 1) + 1);
}

}  // namespace
}  // namespace plof
