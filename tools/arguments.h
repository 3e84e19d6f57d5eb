// A command's arguments parsed against its flags.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "command.h"

namespace plof::tools {

struct ParsedArguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  // flag name -> value ("" for flags without one)

    bool has(const std::string &flag) const { return values.count(flag) != 0; }
    std::optional<std::string> value(const std::string &flag) const;
};

// Parses `arguments` (after the command name) against the command's flags:
// "--flag VALUE", "--flag=VALUE", or the flag alone when it takes no value;
// anything else is positional. Throws UsageError for an unknown flag (with
// the nearest one when one is close), a missing value or a flag given twice.
ParsedArguments parseArguments(const Command &command, std::span<const std::string> arguments);

}  // namespace plof::tools
