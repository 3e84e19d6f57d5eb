#include "help_text.h"

#include <algorithm>
#include <optional>
#include <string>

#include "command.h"
#include "command_table.h"
#include "host/module/module_loader.h"

namespace plof::tools {

namespace {

// "--flag VALUE", or the flag alone when it takes no value; null when the
// table has no flag of that name.
std::optional<std::string> flagWithValue(std::span<const FlagSpec> flags, std::string_view name) {
    for (const FlagSpec &flag : flags) {
        if (name != flag.name) continue;
        return flag.valueName ? std::string(flag.name) + " " + flag.valueName : std::string(flag.name);
    }
    return std::nullopt;
}

}  // namespace

std::string usageLine(std::span<const FlagSpec> flags, std::string_view pattern) {
    std::string line;
    while (!pattern.empty()) {
        const std::size_t end = std::min(pattern.find(' '), pattern.size());
        const std::string_view word = pattern.substr(0, end);
        pattern.remove_prefix(std::min(end + 1, pattern.size()));
        const bool optional = word.size() > 2 && word.front() == '[' && word.back() == ']';
        std::string_view choices = optional ? word.substr(1, word.size() - 2) : word;
        // "--view|--camera": one of the flags, each with its value.
        std::string expanded;
        while (!choices.empty()) {
            const std::size_t bar = std::min(choices.find('|'), choices.size());
            const std::string_view choice = choices.substr(0, bar);
            choices.remove_prefix(std::min(bar + 1, choices.size()));
            if (!expanded.empty()) expanded += '|';
            expanded += flagWithValue(flags, choice).value_or(std::string(choice));
        }
        if (!line.empty()) line += ' ';
        line += optional ? "[" + expanded + "]" : expanded;
    }
    return line;
}

std::string commandHelp(const Command &command) {
    std::string text = "Usage:\n";
    std::string_view usage = command.usage;
    while (!usage.empty()) {
        const auto end = std::min(usage.find('\n'), usage.size());
        text += "  plof-host " + std::string(usage.substr(0, end)) + "\n";
        usage.remove_prefix(std::min(end + 1, usage.size()));
    }
    text += "\n" + std::string(command.summary) + "\n";
    if (!command.flags.empty()) {
        text += "\nOptions:\n";
        for (const FlagSpec &flag : command.flags) {
            std::string left = std::string("  ") + flag.name;
            if (flag.valueName) {
                left += std::string(" ") + flag.valueName;
            }
            left.resize(std::max<std::size_t>(left.size() + 2, 26), ' ');
            const bool refused = flag.name == std::string_view(kModuleFlag.name) && plof::host::moduleBuiltIn();
            text += left + (refused ? "not taken: the module is built into this plof-host" : flag.help) + "\n";
        }
    }
    if (command.details) {
        text += "\n" + std::string(command.details);
    }
    text += "\nExit codes: " + std::to_string(kExitOk) + " done, " + std::to_string(kExitUsage) +
            " wrong command line, " + std::to_string(kExitBadInput) +
            " bad input (a missing, unreadable or\n"
            "malformed file), " +
            std::to_string(kExitFailure) +
            " failure (the module cannot be loaded or run, output cannot\n"
            "be written). Data goes to standard output, messages to standard error.\n";
    return text;
}

std::string programHelp() {
    std::string text =
        "Usage: plof-host COMMAND [OPTIONS]\n"
        "\n"
        "The stand-in host for the PLOF! particle effect module (plof.p): it loads the\n"
        "module exactly as the 3D host does and drives it.\n"
        "\n"
        "Commands:\n";
    for (const Command *command : commands()) {
        std::string left = std::string("  ") + command->name;
        left.resize(std::max<std::size_t>(left.size() + 2, 12), ' ');
        text += left + command->summary + "\n";
    }
    text +=
        "\n"
        "Run 'plof-host COMMAND --help' for a command's options; 'plof-host --version'\n"
        "prints the version.\n";
    return text;
}

}  // namespace plof::tools
