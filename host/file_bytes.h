// Reading a whole input file for the stand-in host.
#pragma once

#include <string>
#include <string_view>

namespace plof::host {

// The bytes of the file at `path`. Throws InputError "PATH: no such WHAT"
// (or cannot open / read error) naming the file; `what` says what kind of
// file the user was asked for ("scene file", "object file").
std::string readFileBytes(const std::string &path, std::string_view what);

}  // namespace plof::host
