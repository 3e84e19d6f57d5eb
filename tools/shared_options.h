// The values of options several commands share, read from their text: each
// bad value is a UsageError naming the flag and saying what it takes.
#pragma once

#include <string>

#include "arguments.h"
#include "host/base/frame_rate.h"

namespace plof::tools {

using host::FrameRange;

// "A..B" with whole numbers A <= B.
FrameRange parseFrameRange(const std::string &flag, const std::string &text);
// A frame rate from host::kLowestFrameRate to host::kHighestFrameRate.
double parseFrameRate(const std::string &flag, const std::string &text);
// A finite number above 0.
double parsePositive(const std::string &flag, const std::string &text);
// --module's value, else plof.p beside the running plof-host; where the
// module is built in, its name, and --module is a UsageError.
std::string modulePath(const ParsedArguments &arguments);

}  // namespace plof::tools
