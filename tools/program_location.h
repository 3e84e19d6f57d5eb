// Where the running program lives: plof-host finds the module and the
// viewer's page beside itself. One file per platform.
#pragma once

#include <string>

namespace plof::tools {

// The directory of the running executable ("" when the platform cannot say).
std::string executableDirectory();

}  // namespace plof::tools
