#include "host/base/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

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

}  // namespace

std::string shortestText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string fixedText(double value) {
    // 309 digits before the point for the largest double, six after.
    char buffer[330];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

std::optional<double> parseNumber(std::string_view text) {
    text = trimmed(text);
    text = withoutPlus(text);
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

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
