// The instance's keyword block in the host's scene: "PLOF_START", one value
// line per emitter setting, "REFERENCE" and the avoid object's name,
// "PLOF_END".
//
// The host calls saveInstance when it saves a scene and loadInstance when it
// loads one, with states that live for the call only. Only the emitter
// settings and the avoid object's name travel; the particles, the baking
// settings and the object file list do not. Neither operation fails: both
// return null.
#pragma once

#include <cstdio>

#include "instance/handler_instance.h"
#include "plof/handler.h"

namespace plof {

// Writes the block's lines, one per setting of the settings table, through
// the host's save state or to a settings file the caller opened (one line per
// text line, see keyword_line.h). The avoid object is written by its current
// name in the host (refreshing refName); a name loaded but not yet looked up
// (before the first newTime) as it was read; otherwise "none".
void writeSettingsBlock(const PlofSaveState &state, HandlerInstance &instance);
void writeSettingsBlock(std::FILE *file, HandlerInstance &instance);

// Writes the block, one host write per line (writeSettingsBlock).
const char *saveInstance(HandlerInstance &instance, const PlofSaveState &state);

// Reads a block written by saveInstance. Lines are recognised by prefix: a
// shortened keyword takes the first keyword it begins. A first line that is
// not the start line leaves the instance untouched. Otherwise the block ends
// at "PLOF_END", at an empty or space-led line, or where the host has no
// more lines; unknown keywords, and value keywords without a value, are
// skipped, so settings the block does not give keep their values. Integer
// settings take the value truncated toward zero and saturated to their range
// (NaN gives 0); "OrgEmit" takes the low 8 bits of that. Afterwards the
// particles are re-initialised and the avoid object is looked up by name at
// the next newTime ("none" names no object). The name line is read up to
// 255 characters; the rest of a longer line is skipped.
const char *loadInstance(HandlerInstance &instance, const PlofLoadState &state);

}  // namespace plof
