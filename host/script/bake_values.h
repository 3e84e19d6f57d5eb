// The values of a bake read from text into a BakeRequest, as `plof-host
// bake` takes them from its flags and the studio from a save request: every
// bad value is refused with a message that says what to write, before
// anything is loaded. Messages name a value as the caller shows it ("--frames"
// on the command line, "frames" in a request).
#pragma once

#include <cstddef>
#include <string>

#include "host/script/bake_request.h"

namespace plof::host {

// The longest path the baking panel and the object list hold (their buffers
// are 256 bytes with the terminator).
inline constexpr std::size_t kBakePathLimit = 255;

enum class BakeValue {
    Frames,   // a count N (frames 0 .. N-1), or the range 0..B
    Step,     // the frame step, 1 or more
    Objects,  // object files "a.lwo,b.lwo", added in turn
    HpbMin,   // lowest spin "h,p,b"
    HpbMax,   // highest spin "h,p,b"
    Out,      // the scene file to write
};

// Reads `text` as `value` into `request`, the value named `name` in
// messages; false with `problem` saying what is wrong and what to write.
bool readBakeValue(BakeValue value, const std::string &name, const std::string &text, BakeRequest &request,
                   std::string &problem);

// Checks what no single value can: that the scene to write was named, as
// `outName`.
bool checkBakeRequest(const BakeRequest &request, const std::string &outName, std::string &problem);

}  // namespace plof::host
