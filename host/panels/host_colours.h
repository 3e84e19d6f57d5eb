// The colours the host draws the module's pixels in: the module names a
// colour by the host's colour code, and the host decides what it looks like.
#pragma once

#include <cstdint>

namespace plof::host {

// The colour the host shows for a colour code, as 0xRRGGBB: 4107 (inside the
// spread) orange, 4099 (outside it) dark blue, any other code grey.
uint32_t hostColourRgb(int32_t colourCode);

}  // namespace plof::host
