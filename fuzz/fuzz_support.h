// What the fuzz targets share: the input as text or lines, and the check
// that turns a broken promise of the code under test into a fault that
// libFuzzer (or the replay) reports with the input that caused it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace plof::fuzz {

inline std::string_view textOf(const uint8_t *data, std::size_t size) {
    return {reinterpret_cast<const char *>(data), size};
}

// The lines of `text` split at LF, without it; a last line without LF counts.
inline std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// Aborts, naming the promise, when it does not hold.
inline void check(bool holds, const char *promise) {
    if (!holds) {
        std::fprintf(stderr, "fuzz check failed: %s\n", promise);
        std::abort();
    }
}

// The promise of the object readers: whole x, y, z triples of finite numbers.
inline void checkPoints(const std::vector<float> &points) {
    check(points.size() % 3 == 0, "points are whole x, y, z triples");
    for (const float value : points) check(std::isfinite(value), "coordinates are finite");
}

}  // namespace plof::fuzz
