#include <algorithm>

#include "command.h"

namespace plof::tools {

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
            text += left + flag.help + "\n";
        }
    }
    if (command.details) {
        text += "\n" + std::string(command.details);
    }
    text +=
        "\n"
        "Exit codes: 0 done, 2 wrong command line, 3 bad input (a missing, unreadable or\n"
        "malformed file), 4 failure (the module cannot be loaded or run, output cannot\n"
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
