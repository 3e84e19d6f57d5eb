#include "decimal/shortest_decimal.h"

#include <fmt/format.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace plof {

namespace {

// The significant digits of a finite non-zero value and the power of ten of
// the first: 1.25e+20 is "125" and 20.
struct Digits {
    char digits[kShortestDecimalRoom] = {};
    int count = 0;
    int exponent = 0;
};

// fmt's shortest text of a positive value ("0.000125", "125000",
// "1.25e+20"), whichever notation fmt chose, read back into its digits.
Digits shortestDigits(double magnitude) {
    char text[kShortestDecimalRoom];
    *fmt::format_to_n(text, sizeof text - 1, "{}", magnitude).out = '\0';
    Digits read;
    int beforePoint = -1;
    const char *p = text;
    for (; (*p >= '0' && *p <= '9') || *p == '.'; ++p) {
        if (*p == '.') {
            beforePoint = read.count;
        } else {
            read.digits[read.count++] = *p;
        }
    }
    read.exponent = (beforePoint >= 0 ? beforePoint : read.count) - 1;
    if (*p == 'e') read.exponent += std::atoi(p + 1);
    // Zeros before the first digit ("0.000125") and after the last ("125000")
    // are the exponent's, not digits.
    int leading = 0;
    while (read.digits[leading] == '0') ++leading;
    read.count -= leading;
    read.exponent -= leading;
    std::memmove(read.digits, read.digits + leading, static_cast<std::size_t>(read.count));
    while (read.digits[read.count - 1] == '0') --read.count;
    return read;
}

// Characters of each notation, without the sign: "1.25e+20" and "0.000125".
int scientificLength(const Digits &d) {
    const int magnitude = d.exponent < 0 ? -d.exponent : d.exponent;
    return d.count + (d.count > 1 ? 1 : 0) + 2 + (magnitude >= 100 ? 3 : 2);
}
int fixedLength(const Digits &d) {
    if (d.exponent >= d.count - 1) return d.exponent + 1;
    if (d.exponent >= 0) return d.count + 1;
    return d.count + 1 - d.exponent;
}

}  // namespace

std::size_t shortestDecimal(double value, char (&out)[kShortestDecimalRoom]) {
    if (value == 0.0 || !std::isfinite(value)) {
        const auto written = fmt::format_to_n(out, sizeof out - 1, "{}", value);
        *written.out = '\0';
        return static_cast<std::size_t>(written.out - out);
    }
    const Digits d = shortestDigits(std::fabs(value));
    char *p = out;
    if (std::signbit(value)) *p++ = '-';
    if (fixedLength(d) > scientificLength(d)) {
        *p++ = d.digits[0];
        if (d.count > 1) *p++ = '.';
        for (int i = 1; i < d.count; ++i) *p++ = d.digits[i];
        p = fmt::format_to(p, "e{}{:02}", d.exponent < 0 ? '-' : '+', d.exponent < 0 ? -d.exponent : d.exponent);
    } else if (d.exponent >= d.count - 1) {
        // An integer: its exact digits, which read back as the value too and
        // lie nearest it (the value itself for 2^70, not 1180591620717411300000).
        p = fmt::format_to(out, "{:.0f}", value);
    } else if (d.exponent >= 0) {
        for (int i = 0; i < d.count; ++i) {
            *p++ = d.digits[i];
            if (i == d.exponent) *p++ = '.';
        }
    } else {
        *p++ = '0';
        *p++ = '.';
        for (int i = -1; i > d.exponent; --i) *p++ = '0';
        for (int i = 0; i < d.count; ++i) *p++ = d.digits[i];
    }
    *p = '\0';
    return static_cast<std::size_t>(p - out);
}

}  // namespace plof
