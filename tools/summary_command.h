// plof-host summary, for the command table.
#pragma once

#include "command.h"

namespace plof::tools {

extern const Command kSummaryCommand;

}  // namespace plof::tools
