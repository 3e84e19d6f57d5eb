// The correctly rounded values of sin, cos, tan and atan2 from GNU MPFR,
// rounded once, straight to a double: precision 53, round to nearest (ties
// to even), the exponent range of doubles with their subnormals. Also at
// a wider precision, for measuring an error.
#pragma once

#include <mpfr.h>

namespace plof::test {

enum class Function { sine, cosine, tangent, arcTangent2 };

inline const char *functionName(Function f) {
    switch (f) {
        case Function::sine: return "sin";
        case Function::cosine: return "cos";
        case Function::tangent: return "tan";
        default: return "atan2";
    }
}

// f at (y, x) for atan2, at x otherwise, into `out` (of any precision); returns MPFR's ternary value.
inline int mpfrEvaluate(mpfr_t out, Function f, double y, double x) {
    mpfr_t a, b;
    mpfr_inits2(53, a, b, static_cast<mpfr_ptr>(nullptr));
    mpfr_set_d(a, y, MPFR_RNDN);
    mpfr_set_d(b, x, MPFR_RNDN);
    int ternary = 0;
    switch (f) {
        case Function::sine: ternary = mpfr_sin(out, b, MPFR_RNDN); break;
        case Function::cosine: ternary = mpfr_cos(out, b, MPFR_RNDN); break;
        case Function::tangent: ternary = mpfr_tan(out, b, MPFR_RNDN); break;
        case Function::arcTangent2: ternary = mpfr_atan2(out, a, b, MPFR_RNDN); break;
    }
    mpfr_clears(a, b, static_cast<mpfr_ptr>(nullptr));
    return ternary;
}

inline double correctlyRounded(Function f, double y, double x) {
    const mpfr_exp_t emin = mpfr_get_emin();
    const mpfr_exp_t emax = mpfr_get_emax();
    mpfr_set_emin(-1073);  // 2^-1074 = 0.1b * 2^-1073, the smallest subnormal
    mpfr_set_emax(1024);   // below 2^1024 = 0.1b * 2^1025
    mpfr_t result;
    mpfr_init2(result, 53);
    mpfr_subnormalize(result, mpfrEvaluate(result, f, y, x), MPFR_RNDN);
    const double value = mpfr_get_d(result, MPFR_RNDN);
    mpfr_clear(result);
    mpfr_set_emin(emin);
    mpfr_set_emax(emax);
    return value;
}

}  // namespace plof::test
