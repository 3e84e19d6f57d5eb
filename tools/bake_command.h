// plof-host bake, for the command table.
#pragma once

#include "command.h"

namespace plof::tools {

extern const Command kBakeCommand;

}  // namespace plof::tools
