// Built-in shapes: objects the host makes itself, for demos and tests that
// need no object file.
#include "host/objects/builtin_shapes.h"

#include <cmath>
#include <numbers>

#include "host/base/host_error.h"
#include "host/base/number_text.h"
#include "host/objects/object_points.h"
#include "math/portable_math.h"

namespace plof::host {

namespace {

constexpr std::string_view kPrefix = "builtin:";

// Every built-in shape as it is written.
constexpr std::string_view kShapeForms[] = {"builtin:grid:WxH", "builtin:line:N", "builtin:sphere:N", "builtin:box:N"};

[[noreturn]] void badShape(std::string_view source, const std::string &what) {
    std::string shapes;
    for (std::string_view form : kShapeForms) shapes += (shapes.empty() ? "" : ", ") + std::string(form);
    throw InputError(std::string(source) + ": " + what + "; the built-in shapes are " + shapes);
}

// The radical inverse of `index` in `base`: the Halton sequence's coordinate, in [0, 1).
double radicalInverse(std::size_t index, std::size_t base) {
    double value = 0.0;
    double scale = 1.0 / static_cast<double>(base);
    for (; index > 0; index /= base, scale /= static_cast<double>(base)) {
        value += static_cast<double>(index % base) * scale;
    }
    return value;
}

std::size_t shapeCount(std::string_view source, std::string_view text) {
    const auto count = parseInteger(text);
    if (!count || *count < 1) {
        badShape(source, "\"" + std::string(text) + "\" is not a point count of 1 or more");
    }
    if (static_cast<std::size_t>(*count) > kMaxObjectPoints) {
        badShape(source, "more than " + std::to_string(kMaxObjectPoints) + " points");
    }
    return static_cast<std::size_t>(*count);
}

}  // namespace

std::span<const std::string_view> builtinShapeForms() { return kShapeForms; }

bool isBuiltinShape(std::string_view source) { return source.starts_with(kPrefix); }

std::string builtinShapeFor(std::string_view name) {
    std::string base(name.substr(0, name.find('.')));
    for (char &c : base) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (std::string_view form : kShapeForms) {
        const std::string_view kind = form.substr(kPrefix.size(), form.rfind(':') - kPrefix.size());
        if (!base.empty() && base == kind) return std::string(form);
    }
    return "";
}

std::vector<float> builtinShapePoints(std::string_view source) {
    const std::string_view shapeText = source.substr(kPrefix.size());
    const auto colon = shapeText.find(':');
    const std::string_view kind = shapeText.substr(0, colon);
    const std::string_view size = colon == std::string_view::npos ? std::string_view{} : shapeText.substr(colon + 1);
    std::vector<float> points;
    if (kind == "grid") {
        const auto x = size.find('x');
        if (x == std::string_view::npos) {
            badShape(source, "a grid needs its size as WxH");
        }
        const std::size_t width = shapeCount(source, size.substr(0, x));
        const std::size_t height = shapeCount(source, size.substr(x + 1));
        if (width * height > kMaxObjectPoints) {
            badShape(source, "more than " + std::to_string(kMaxObjectPoints) + " points");
        }
        points.reserve(width * height * 3);
        for (std::size_t row = 0; row < height; ++row) {
            for (std::size_t column = 0; column < width; ++column) {
                points.push_back(
                    static_cast<float>(static_cast<double>(column) - static_cast<double>(width - 1) / 2.0));
                points.push_back(0.0f);
                points.push_back(static_cast<float>(static_cast<double>(row) - static_cast<double>(height - 1) / 2.0));
            }
        }
    } else if (kind == "line") {
        const std::size_t count = shapeCount(source, size);
        points.reserve(count * 3);
        for (std::size_t i = 0; i < count; ++i) {
            points.insert(points.end(), {static_cast<float>(i), 0.0f, 0.0f});
        }
    } else if (kind == "sphere") {
        // A Fibonacci spiral: even coverage for any count, no clustering at the poles.
        const std::size_t count = shapeCount(source, size);
        const double goldenAngle = std::numbers::pi * (3.0 - std::sqrt(5.0));
        points.reserve(count * 3);
        for (std::size_t i = 0; i < count; ++i) {
            const double y = count == 1 ? 0.0 : 1.0 - 2.0 * static_cast<double>(i) / static_cast<double>(count - 1);
            const double radius = std::sqrt(std::max(0.0, 1.0 - y * y));
            const double angle = goldenAngle * static_cast<double>(i);
            points.insert(points.end(), {static_cast<float>(radius * portableCos(angle)), static_cast<float>(y),
                                         static_cast<float>(radius * portableSin(angle))});
        }
    } else if (kind == "box") {
        // The first N points of the Halton sequence in bases 2, 3, 5: spread
        // evenly for any count, with no grid rows.
        const std::size_t count = shapeCount(source, size);
        points.reserve(count * 3);
        for (std::size_t i = 1; i <= count; ++i) {
            points.insert(points.end(), {static_cast<float>(radicalInverse(i, 2) - 0.5),
                                         static_cast<float>(radicalInverse(i, 3) - 0.5),
                                         static_cast<float>(radicalInverse(i, 5) - 0.5)});
        }
    } else {
        badShape(source, "unknown built-in shape \"" + std::string(kind) + "\"");
    }
    return points;
}

}  // namespace plof::host
