// The drag buttons beside the speed and age fields of the options panel.
//
// Each is an event of the options panel, called by the host as (drag
// button, OptionsPanelContext) while the user drags on the button. The
// button's value is three integers; the second, d, is the host's measure of
// the drag, and a larger d lowers the value. A speed moves by d / 100 from
// the value shown at each event; an age by d / 2 (truncated) from the value
// shown when the drag started (an event whose half-measure is -1, 0 or 1
// starts a drag). The dragged value stays on its side of the range's other
// end, then at 0 or above. The events change the neighbouring fields only,
// never the instance.
#pragma once

#include "plof/panel_services.h"

namespace plof {

void dragV0Min(PlofControl dragButton, void *context);
void dragV0Max(PlofControl dragButton, void *context);
void dragAgeMin(PlofControl dragButton, void *context);
void dragAgeMax(PlofControl dragButton, void *context);

}  // namespace plof
