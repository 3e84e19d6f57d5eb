// The texts of the lines the baking adds to a scene, composed in a 256-byte
// line buffer exactly as the host's scene reader expects them.
//
// Every composer writes the text, its line feed and a terminating NUL into
// `out` and returns the length (line feed counted, NUL not), or -1 when the
// line would not fit in the buffer (more than 255 characters with its line
// feed); `out` is then left empty. Numbers go through the module's one
// formatter, so every build writes the same bytes.
#pragma once

#include <cstdint>

#include "instance/handler_instance.h"

namespace plof {

struct MotionKey;

// `prefix` followed by `name` and a line feed ("LoadObject " + file name).
int32_t composeNamedLine(LineBuffer &out, const char *prefix, const char *name);

// "  %d\n": the key-count line of a motion or an envelope.
int32_t composeCountLine(LineBuffer &out, int32_t count);

// "  %f %f %f %f %f %f %f %f %f\n": position, rotation and scale of a key.
int32_t composeKeyValuesLine(LineBuffer &out, const MotionKey &key);

// "  %d %d %d %d %d\n": frame, linear, tension, continuity, bias of a key.
int32_t composeKeyFrameLine(LineBuffer &out, const MotionKey &key);

// "  %5.4f\n": the value of a dissolve key.
int32_t composeDissolveValueLine(LineBuffer &out, double value);

// "  %d 0 0 0 0\n": the frame line of a dissolve key.
int32_t composeDissolveFrameLine(LineBuffer &out, int32_t frame);

// "ParentObject %d\n".
int32_t composeParentLine(LineBuffer &out, int32_t parentNumber);

}  // namespace plof
