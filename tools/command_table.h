// Every command of plof-host.
#pragma once

#include <span>

#include "command.h"

namespace plof::tools {

// Every command, in the order --help lists them.
std::span<const Command *const> commands();

}  // namespace plof::tools
