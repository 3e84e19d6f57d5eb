// The displacement handler's per-point operations, wired into the host's
// handler table by the plug-in layer.
#pragma once

#include <cstdint>

#include "instance/handler_instance.h"
#include "plof/handler.h"

namespace plof {

// Called by the host once per point, in point order, after newTime. The
// access record carries no point number, so the instance's pointCursor counts
// the points: the point's incoming position is kept in the particle's
// restPosition, then overwritten in place with the particle's position (added
// to it when OrgEmit is non-zero). Calls beyond the last point of a frame all
// serve the last particle. An instance without particles leaves the position
// as it is.
void evaluate(HandlerInstance &instance, PlofDisplacementAccess &access);

// PLOF_FLAGS_WORLD while a scene bake drives the simulation (bakeMode 1),
// else PLOF_FLAGS_OBJECT.
int32_t flags(const HandlerInstance &instance);

// "PLOF! num is N " with the point count N, written into the instance's own
// description; valid until the next describe of the same instance or its
// destruction, so a host may keep the texts of several instances at once.
const char *describe(HandlerInstance &instance);

}  // namespace plof
