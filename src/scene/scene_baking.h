// Scene baking: turns the particles of one instance into a host scene in
// which every particle is an object with key-framed motion.
//
// The CreateScene panel stores the baking settings in the instance, then
// calls assignSpins (spin_assignment.h) and bakeScene, in that order, on the
// host's thread.
#pragma once

#include <cstdint>

#include "instance/handler_instance.h"

namespace plof {

// Samples the simulation at frames 0, frameStep, 2 x frameStep, ... below
// `frameCount` (time = frame / 30.0, with bakeMode set to 1 meanwhile and
// restored afterwards) and writes the scene at `scenePath`: a null object
// "PLOF_NULL", then one object per particle named from `objects` in turn,
// each with a motion key per sampled frame (position, spin, optionally
// "Align H" heading and growing scale), optionally a dissolve envelope, and
// the null object as parent.
//
// Choices where the settings are out of range:
// - a frameStep of 0 or less is taken as 1;
// - an object list count outside 1..255 is taken as the nearest bound;
// - a particle lifetime below 1 counts as 1 frame for the growing scale
//   (a lifetime of 0 would otherwise divide by zero);
// - an object file name too long for its "LoadObject " line (over 243
//   characters) stops the bake with nothing written;
// - a key whose nine values do not fit one 255-character line (values
//   reach astronomic sizes, from about 1e18) is left out of that object's motion, as if never
//   added; the other keys, the dissolve keys and the parent stay.
// A bake of more particle-samples than PLOF_BAKE_MAX_SAMPLES (bake_limit.h),
// running out of memory, or a default scene without a light line, stops the
// bake before sampling: nothing is written and bakeMode is untouched. A file
// that cannot be written leaves whatever was at `scenePath` as it was.
// Returns true when the scene was written, false in every case above; the
// caller tells the user.
bool bakeScene(const char *scenePath, const ObjectList &objects, int32_t frameCount, HandlerInstance &instance);

}  // namespace plof
