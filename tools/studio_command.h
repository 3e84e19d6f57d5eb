// plof-host studio, for the command table.
#pragma once

#include "command.h"

namespace plof::tools {

extern const Command kStudioCommand;

}  // namespace plof::tools
