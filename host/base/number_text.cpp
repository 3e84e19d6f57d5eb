#include "host/base/number_text.h"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <charconv>
#include <cmath>
#include <cstdint>

#include "decimal/shortest_decimal.h"

namespace plof::host {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A leading '+' is taken as from_chars does not; "+-5" stays refused.
std::string_view withoutPlus(std::string_view text) {
    if (text.size() >= 2 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    return text;
}

// Whether a number read as zero has a digit other than 0 before its
// exponent ("1e-400"): it lies below the type's range.
bool belowRange(std::string_view number) {
    for (const char c : number) {
        if (c == 'e' || c == 'E') break;
        if (c >= '1' && c <= '9') return true;
    }
    return false;
}

// The whole of `text` as a finite number of the type, without blanks or '+';
// a number beyond the type's range, which fast_float rounds to infinity or
// zero, is refused as std::from_chars refuses it.
template <typename Number>
std::optional<Number> wholeFiniteNumber(std::string_view text) {
    Number value = 0;
    const auto result = fast_float::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value) ||
        (value == 0 && belowRange(text))) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string shortestText(double value) {
    char text[kShortestDecimalRoom];
    return std::string(text, shortestDecimal(value, text));
}

std::string fixedText(double value) { return fmt::format("{:.6f}", value); }

std::optional<double> parseNumber(std::string_view text) {
    return wholeFiniteNumber<double>(withoutPlus(trimmed(text)));
}

std::optional<float> parseFloat32(std::string_view word) { return wholeFiniteNumber<float>(word); }

std::optional<int32_t> parseInteger(std::string_view text) {
    text = trimmed(text);
    text = withoutPlus(text);
    int32_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<IntegerRange> parseIntegerRange(std::string_view text) {
    const auto dots = text.find("..");
    if (dots == std::string_view::npos) return std::nullopt;
    const auto first = parseInteger(text.substr(0, dots));
    const auto last = parseInteger(text.substr(dots + 2));
    if (!first || !last) return std::nullopt;
    return IntegerRange{*first, *last};
}

}  // namespace plof::host
