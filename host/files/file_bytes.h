// Reading a whole input file for the stand-in host.
#pragma once

#include <string>
#include <string_view>

namespace plof::host {

// The bytes of the file at `path`. Throws InputError naming the file and
// what is wrong: "PATH: no such WHAT", "PATH: is a directory; the WHAT must
// be a regular file" (likewise a FIFO, socket or device, which is never
// opened, so a FIFO cannot block), or the system's reason when it cannot be
// opened or read.
// `what` says what kind of file the user was asked for ("scene file",
// "object file").
std::string readFileBytes(const std::string &path, std::string_view what);

}  // namespace plof::host
