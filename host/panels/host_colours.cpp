#include "host/panels/host_colours.h"

namespace plof::host {

uint32_t hostColourRgb(int32_t colourCode) {
    switch (colourCode) {
        case 4107: return 0xFF8C00;  // inside the spread: orange
        case 4099: return 0x1F3A7A;  // outside it: dark blue
        default: return 0x808080;
    }
}

}  // namespace plof::host
