// Activation of the DisplacementInterface server: the options panel of one
// instance.
//
// The host calls openOptionsPanel when the user asks for the effect's options,
// with its interface version, its global-service function and the instance to
// edit. The panel is built with the host's "LWPanelServices"; without them
// nothing can be shown.
#pragma once

#include <cstdint>

#include "plof/abi.h"

namespace plof {

// Returns 1 for an interface version other than 1, and 2 when the panel
// cannot be built (no "LWPanelServices"). The panel itself is not built yet,
// so version 1 answers 2 even when the services are there: the host then
// reports that the options are not available, and the instance is untouched.
int32_t openOptionsPanel(int32_t version, PlofGlobalFunc global, void *instance);

}  // namespace plof
