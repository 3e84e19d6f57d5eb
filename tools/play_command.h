// plof-host play, for the command table.
#pragma once

#include "command.h"

namespace plof::tools {

extern const Command kPlayCommand;

}  // namespace plof::tools
