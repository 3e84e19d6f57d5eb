// The flags of `plof-host bake` read into a BakeRequest: every bad value is
// refused with a message that says what to write, before anything is loaded.
#pragma once

#include <cstddef>
#include <string>

#include "host/script/bake_request.h"

namespace plof::host {

// The longest path the baking panel and the object list hold (their buffers
// are 256 bytes with the terminator).
inline constexpr std::size_t kBakePathLimit = 255;

// Reads the value of one bake flag into `request`. `flag` is one of
// --frames, --step, --objects, --hpb-min, --hpb-max, --out; false with
// `problem` saying what is wrong and what to write instead.
bool readBakeFlagValue(const std::string &flag, const std::string &value, BakeRequest &request, std::string &problem);

// Checks what no single flag can: that --out was given.
bool checkBakeRequest(const BakeRequest &request, std::string &problem);

}  // namespace plof::host
