// How the stand-in host writes and reads numbers: fmt and the module's
// shortest decimal text (src/decimal) underneath, so every build and platform
// writes the same bytes; read with fast_float.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plof::host {

// Shortest text that reads back as exactly `value` ("0.1", "1e-07", "-0").
std::string shortestText(double value);

// Fixed notation with six decimals, as printf's "%f" writes it.
std::string fixedText(double value);

// The whole of `text` as a number (leading and trailing blanks allowed);
// nothing when it is not one number. Non-finite values are refused, and so
// are numbers beyond the double's range ("1e999", "1e-999").
std::optional<double> parseNumber(std::string_view text);

// The whole of `word` (no blanks, no '+') as a finite 32-bit float; nothing
// when it is not one or lies beyond the float's range ("1e39", "1e-50").
std::optional<float> parseFloat32(std::string_view word);

// The whole of `text` as a 32-bit integer; nothing when it is not one.
std::optional<int32_t> parseInteger(std::string_view text);

// "A..B" with two 32-bit integers (A may exceed B); nothing otherwise.
struct IntegerRange {
    int32_t first = 0;
    int32_t last = 0;
};
std::optional<IntegerRange> parseIntegerRange(std::string_view text);

}  // namespace plof::host
