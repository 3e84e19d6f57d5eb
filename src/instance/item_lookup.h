// Between a scene item and its name, through the host's "LW Item Info".
//
// The avoid object is kept by name and found again by name (after a scene or
// settings-file load), never by a stored identifier. Both operations need the
// item service fetched by handler activation.
#pragma once

#include "instance/handler_instance.h"
#include "plof/abi.h"

namespace plof {

// The first object item (kind 0, any parent) in the host's order whose name
// equals `name` exactly, case-sensitively; 0 when none does.
PlofItemId findItemByName(const char *name);

// The avoid object named `name`: 0 for "none", which the keyword block
// writes for no avoid object, else findItemByName(name).
PlofItemId findAvoidObject(const char *name);

// Writes the host's current name of `item` into `destination`, cut to what the
// buffer holds, or "none" for item 0.
void itemNameOrNone(PlofItemId item, LineBuffer &destination);

}  // namespace plof
