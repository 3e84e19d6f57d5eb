// plof-host panel, for the command table.
#pragma once

#include "command.h"

namespace plof::tools {

extern const Command kPanelCommand;

}  // namespace plof::tools
