// Every command of plof-host.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "command.h"

namespace plof::tools {

// Every command, in the order --help lists them.
std::span<const Command *const> commands();

// Why this build has no command `name` that other builds have ("render" in
// the WebAssembly build, "studio" where there is no HTTP library); nothing
// for a name no build has.
std::optional<std::string> absentCommandReason(const std::string &name);

}  // namespace plof::tools
