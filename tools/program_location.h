// Where the running program lives and what its standard error is: the two
// things plof-host asks of the platform besides loading modules. One file per
// platform.
#pragma once

#include <string>

namespace plof::host {

// The directory of the running executable ("" when the platform cannot say).
std::string executableDirectory();

// True when standard error is a terminal (progress is shown only then).
bool standardErrorIsTerminal();

}  // namespace plof::host
