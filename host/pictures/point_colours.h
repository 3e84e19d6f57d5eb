// The colours the host draws played points in (pictures, and the studio's
// page through its state): each item with the effect its own colour while
// its points fly, told apart in one picture (the list repeats after the
// last); every point at rest one dim grey; points of other items light blue;
// an emitter's pivot green.
#pragma once

#include <cstddef>
#include <string>

#include "host/pictures/picture_canvas.h"

namespace plof::host {

inline constexpr Rgb kRestingColour{0.5f, 0.5f, 0.56f};
inline constexpr Rgb kOtherItemColour{0.62f, 0.82f, 1.0f};
inline constexpr Rgb kPivotColour{0.3f, 1.0f, 0.55f};

// The colour of the points in flight of the `effectNumber`-th item (0-based)
// among those that carry the effect, in scene order.
Rgb flyingColour(std::size_t effectNumber);

// "#rrggbb", for a page.
std::string colourText(Rgb colour);

}  // namespace plof::host
