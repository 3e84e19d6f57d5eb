// plof-host export, for the command table.
#pragma once

#include "command.h"

namespace plof::tools {

extern const Command kExportCommand;

}  // namespace plof::tools
