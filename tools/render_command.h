// plof-host render, for the command table.
#pragma once

#include "command.h"

namespace plof::tools {

extern const Command kRenderCommand;

}  // namespace plof::tools
