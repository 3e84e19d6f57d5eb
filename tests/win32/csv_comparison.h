// Compares the points CSV of the native and the Windows build value by value.
//
// Both builds compute in SSE2 doubles with the same order of operations, so
// their points are expected to be equal; the rule allows only what a
// different mathematics library could honestly change: every number must be
// the same after rounding to the six decimals that scenes and settings use,
// and within 1e-9 in full. Everything else (the header, frame, item and point
// numbers, the count of rows) must be identical.
#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace plof::test {

struct CsvComparison {
    std::string firstDifferences;  // "" when the files agree under the rule
    std::size_t valuesCompared = 0;
    std::size_t valuesNotBitEqual = 0;  // equal under the rule, but not in every bit
};

inline std::vector<std::string_view> splitText(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string_view::npos; start = end + 1) {
        parts.push_back(text.substr(start, end - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

inline std::string sixDecimals(double value) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

inline CsvComparison compareCsv(std::string_view native, std::string_view windows) {
    CsvComparison comparison;
    std::ostringstream differences;
    int reported = 0;
    auto report = [&](std::size_t row, const std::string &what) {
        if (reported++ < 5) differences << "row " << row << ": " << what << "\n";
    };
    const auto nativeRows = splitText(native, '\n');
    const auto windowsRows = splitText(windows, '\n');
    if (nativeRows.size() != windowsRows.size()) {
        differences << "native has " << nativeRows.size() << " rows, windows " << windowsRows.size() << "\n";
    }
    // Only coordinates and dissolve values are computed; the rest is counted.
    std::vector<bool> computed;
    for (std::string_view name : splitText(nativeRows.front(), ',')) {
        computed.push_back(name == "x" || name == "y" || name == "z" || name == "dissolve");
    }
    for (std::size_t row = 0; row < std::min(nativeRows.size(), windowsRows.size()); ++row) {
        const auto nativeFields = splitText(nativeRows[row], ',');
        const auto windowsFields = splitText(windowsRows[row], ',');
        if (row == 0 || nativeFields.size() != windowsFields.size() || nativeFields.size() != computed.size()) {
            if (nativeRows[row] != windowsRows[row]) {
                report(row, "'" + std::string(nativeRows[row]) + "' vs '" + std::string(windowsRows[row]) + "'");
            }
            continue;
        }
        for (std::size_t column = 0; column < nativeFields.size(); ++column) {
            const std::string_view a = nativeFields[column];
            const std::string_view b = windowsFields[column];
            double x = 0.0;
            double y = 0.0;
            const bool numbers = std::from_chars(a.data(), a.data() + a.size(), x).ec == std::errc() &&
                                 std::from_chars(b.data(), b.data() + b.size(), y).ec == std::errc();
            if (numbers && computed[column]) ++comparison.valuesCompared;
            if (a == b) continue;
            if (!numbers || !computed[column]) {
                report(row, "column " + std::to_string(column) + ": '" + std::string(a) + "' vs '" +
                                std::string(b) + "'");
                continue;
            }
            ++comparison.valuesNotBitEqual;
            if (sixDecimals(x) != sixDecimals(y) || !(std::fabs(x - y) <= 1e-9)) {
                report(row, "column " + std::to_string(column) + ": " + std::string(a) + " vs " + std::string(b));
            }
        }
    }
    if (reported > 5) differences << "... " << reported - 5 << " more\n";
    comparison.firstDifferences = differences.str();
    return comparison;
}

}  // namespace plof::test
