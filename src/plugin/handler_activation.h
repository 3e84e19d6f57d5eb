// Activation of the DisplacementHandler server.
//
// The host calls activateHandler whenever it needs the server, with its
// interface version, its global-service function and the handler operation
// table to fill. Activation fetches the host services into moduleState(),
// replacing those of any earlier activation, for every instance to use; an
// activation that finds one missing leaves the earlier records as they were.
#pragma once

#include <cstdint>

#include "plof/abi.h"

namespace plof {

// Fetches "LW Object Info" (status 2 when missing) and "Directory Info" (not
// checked: the panels that use it are opened only by a host that has it);
// fills slots 1 to 8 of `table` for version 1 or slots 1 to 9 for version 2
// (status 1 for any other version); then fetches "LW Item Info", "Info
// Messages", "File Request" and "LWObjectAccess" in that order, status 2 at the
// first one missing. The table is filled before those are checked, as hosts
// expect. Returns 0 when everything is there; only then are the global
// function and the services stored in moduleState().
int32_t activateHandler(int32_t version, PlofGlobalFunc global, void *table);

}  // namespace plof
