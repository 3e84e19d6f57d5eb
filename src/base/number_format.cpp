#include "base/number_format.h"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "decimal/shortest_decimal.h"

namespace plof {

namespace {

int32_t refuse(char *out, std::size_t capacity) {
    if (capacity > 0) out[0] = '\0';
    return -1;
}

int32_t finish(char *out, std::size_t capacity, const char *text, std::size_t length, int width) {
    const std::size_t padding =
        width > 0 && static_cast<std::size_t>(width) > length ? static_cast<std::size_t>(width) - length : 0;
    if (padding + length + 1 > capacity) return refuse(out, capacity);
    for (std::size_t i = 0; i < padding; ++i) out[i] = ' ';
    for (std::size_t i = 0; i < length; ++i) out[padding + i] = text[i];
    out[padding + length] = '\0';
    return static_cast<int32_t>(padding + length);
}

// Whether `text` begins with `word`, letters compared without case.
bool startsWithWord(const char *text, const char *word) {
    for (; *word != '\0'; ++text, ++word) {
        const char lower = (*text >= 'A' && *text <= 'Z') ? static_cast<char>(*text - 'A' + 'a') : *text;
        if (lower != *word) return false;
    }
    return true;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

int32_t formatFixed(char *out, std::size_t capacity, double value, int decimals, int width) {
    // Large enough for any double in fixed notation: 309 integer digits, a
    // sign, a point and the decimals the module asks for (at most six).
    char text[400];
    if (decimals < 0) return refuse(out, capacity);
    const auto written = fmt::format_to_n(text, sizeof text, "{:.{}f}", value, decimals);
    if (written.size > sizeof text) return refuse(out, capacity);
    return finish(out, capacity, text, written.size, width);
}

int32_t formatShortest(char *out, std::size_t capacity, double value) {
    char text[kShortestDecimalRoom];
    return finish(out, capacity, text, shortestDecimal(value, text), 0);
}

int32_t formatInteger(char *out, std::size_t capacity, int32_t value) {
    char text[16];
    const auto written = fmt::format_to_n(text, sizeof text, "{}", value);
    return finish(out, capacity, text, written.size, 0);
}

double parseDecimal(const char *text) {
    const char *p = text;
    while (isSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // strtod also reads "inf", "infinity" and "nan" in any case: the module
    // writes an infinite setting as "inf", and must read its own text back.
    if (startsWithWord(p, "infinity") || startsWithWord(p, "inf")) {
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    if (startsWithWord(p, "nan")) return std::numeric_limits<double>::quiet_NaN();
    // Only a digit or a point may follow the sign; from_chars would also take
    // a second sign.
    if (!((*p >= '0' && *p <= '9') || *p == '.')) return 0.0;
    const char *end = p;
    while (*end != '\0') ++end;
    double value = 0.0;
    // Beyond the double's range fast_float gives strtod's answers: infinity,
    // or zero for a tiny exponent.
    if (fast_float::from_chars(p, end, value, fast_float::chars_format::general).ec != std::errc{}) return 0.0;
    return negative ? -value : value;
}

int32_t truncateToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t clampToInt32(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace plof
