// Compares the points CSV of the native and the Windows build value by value.
//
// Both builds compute in SSE2 doubles with the same order of operations and
// the project's own sines, cosines and arc tangents, and write each number as
// the shortest text that reads back to the same double. So the rule is
// equality: every field, computed or counted, must be the same text, down to
// the last bit of every coordinate. The report names the first differences
// (row, column, both texts, and for numbers how many doubles lie apart) so
// that a failure says where to look.
#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace plof::test {

struct CsvComparison {
    std::string firstDifferences;     // "" when the files are the same
    std::size_t valuesCompared = 0;   // computed values (coordinates, dissolve) compared
    std::size_t valuesDiffering = 0;  // computed values whose texts differ
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

// How many doubles lie between x and y, as text for a report ("different signs" across zero).
inline std::string doublesApart(double x, double y) {
    if (std::signbit(x) != std::signbit(y)) return "different signs";
    int64_t xBits = 0, yBits = 0;
    std::memcpy(&xBits, &x, sizeof x);
    std::memcpy(&yBits, &y, sizeof y);
    const int64_t apart = xBits > yBits ? xBits - yBits : yBits - xBits;
    return std::to_string(apart) + (apart == 1 ? " double apart" : " doubles apart");
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
            std::string what =
                "column " + std::to_string(column) + ": '" + std::string(a) + "' vs '" + std::string(b) + "'";
            if (numbers && computed[column]) {
                ++comparison.valuesDiffering;
                what += " (" + doublesApart(x, y) + ")";
            }
            report(row, what);
        }
    }
    if (reported > 5) differences << "... " << reported - 5 << " more\n";
    comparison.firstDifferences = differences.str();
    return comparison;
}

}  // namespace plof::test
