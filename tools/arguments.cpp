#include "arguments.h"

#include "command.h"
#include "host/base/nearest_word.h"

namespace plof::tools {

std::optional<std::string> ParsedArguments::value(const std::string &flag) const {
    const auto found = values.find(flag);
    if (found == values.end()) {
        return std::nullopt;
    }
    return found->second;
}

ParsedArguments parseArguments(const Command &command, std::span<const std::string> arguments) {
    ParsedArguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (!argument.starts_with("--")) {
            parsed.positional.push_back(argument);
            continue;
        }
        const auto equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const FlagSpec *known = nullptr;
        for (const FlagSpec &flag : command.flags) {
            if (name == flag.name) {
                known = &flag;
            }
        }
        if (!known) {
            std::vector<std::string> names;
            for (const FlagSpec &flag : command.flags) names.emplace_back(flag.name);
            const std::string near = plof::host::nearestWord(name, names);
            throw UsageError(std::string(command.name) + ": unknown option " + name +
                             (near.empty() ? "" : "; did you mean " + near + "?"));
        }
        // A second value would silently replace the first.
        if (parsed.has(name)) {
            throw UsageError(std::string(command.name) + ": " + name + " given twice; give it once");
        }
        if (!known->valueName) {
            if (equals != std::string::npos) {
                throw UsageError(std::string(command.name) + ": " + name + " takes no value");
            }
            parsed.values[name] = "";
        } else if (equals != std::string::npos) {
            parsed.values[name] = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            parsed.values[name] = arguments[++i];
        } else {
            throw UsageError(std::string(command.name) + ": " + name + " needs a value (" + known->valueName + ")");
        }
    }
    return parsed;
}

}  // namespace plof::tools
