// The flags of `plof-host bake` that carry the bake's values
// (host/script/bake_values.h), in the order they are read.
#pragma once

#include "host/script/bake_values.h"

namespace plof::tools {

struct BakeValueFlag {
    const char *flag;
    host::BakeValue value;
};

inline constexpr BakeValueFlag kBakeValueFlags[] = {
    {"--frames", host::BakeValue::Frames},   {"--step", host::BakeValue::Step},
    {"--objects", host::BakeValue::Objects}, {"--hpb-min", host::BakeValue::HpbMin},
    {"--hpb-max", host::BakeValue::HpbMax},  {"--out", host::BakeValue::Out},
};

}  // namespace plof::tools
