#include "host/pictures/point_colours.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace plof::host {

namespace {

constexpr Rgb kFlyingColours[] = {{1.0f, 0.72f, 0.25f}, {0.95f, 0.42f, 0.9f}, {0.35f, 0.88f, 1.0f},
                                  {0.62f, 1.0f, 0.35f}, {1.0f, 0.45f, 0.42f}, {0.78f, 0.66f, 1.0f}};

int byteOf(float channel) { return static_cast<int>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f)); }

}  // namespace

Rgb flyingColour(std::size_t effectNumber) { return kFlyingColours[effectNumber % std::size(kFlyingColours)]; }

std::string colourText(Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", byteOf(colour.r), byteOf(colour.g), byteOf(colour.b));
    return text;
}

}  // namespace plof::host
