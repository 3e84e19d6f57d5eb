// The life of a HandlerInstance: the host's create, destroy, copy and newTime
// handler operations.
//
// The host holds each instance from createInstance to destroyInstance and
// hands it to every other handler operation. The instance owns its particle
// array. Creation and copying read the host services fetched by handler
// activation; createInstance also keeps a handle on its object's points, and
// the object's point count, with the instance. Error texts are static.
#pragma once

#include <cstdint>

#include "instance/handler_instance.h"
#include "plof/abi.h"

namespace plof {

// The one error text of creation and copying.
inline constexpr const char *kNoMemoryText = "No memory for new PLOF.";

// A new instance for `item` (0 from hosts that give none), with the default
// settings and one particle per point of the object, each holding only its
// index. On failure returns null and stores kNoMemoryText in *errorText: when
// either allocation fails, and when the host reports a negative point count
// (no array can have that length).
HandlerInstance *createInstance(const char **errorText, PlofItemId item);

// Releases the instance and its particle array; null is allowed.
void destroyInstance(HandlerInstance *instance);

// Gives `to` (which now belongs to `item`) the emitter settings, the avoid
// object and the point count of `from`, a fresh particle array and new launch
// data. `to` keeps its time, baking settings, object file list and the
// handle on its own object's points (taken when it was created). Returns
// null, or kNoMemoryText when the array cannot be allocated; `to` then has no
// particles (pointCount 0) and stays valid for every operation and destroy.
const char *copyInstance(const HandlerInstance &from, HandlerInstance &to, PlofItemId item);

// Called by the host once per frame before that frame's evaluate calls: looks
// the avoid object up by name when a load asked for it (findAvoidObject:
// "none" is no object), records the item, frame and time, restarts the point
// cursor and places every particle for the frame. Returns null.
const char *newTime(HandlerInstance &instance, PlofItemId item, int32_t frame, double time);

}  // namespace plof
