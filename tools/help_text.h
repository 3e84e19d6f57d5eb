// The help texts of plof-host, built from the command and flag tables so
// that they cannot drift from what the commands take.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "command.h"

namespace plof::tools {

// A synopsis line from a flag table: each word of `pattern` that names a
// flag of `flags` ("--out", or "[--out]" for an optional one, "[--a|--b]"
// for one of two) becomes that flag with its value name ("--out FILE.lws",
// "[--frames A..B]"); every other word stays as written.
std::string usageLine(std::span<const FlagSpec> flags, std::string_view pattern);

// The help text of one command, and the program's short overview (its
// commands, one line each).
std::string commandHelp(const Command &command);
std::string programHelp();

}  // namespace plof::tools
