// plof-host: picks the command, runs it, and turns its errors into messages
// on stderr and exit codes.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "arguments.h"
#include "command.h"
#include "command_table.h"
#include "help_text.h"
#include "host/base/host_error.h"
#include "host/base/nearest_word.h"
#include "host/run/host_process.h"

namespace {

// PLOF_VERSION is the project's version, given by the build.
constexpr const char *kVersion = "plof-host " PLOF_VERSION " (PLOF! particle effect, stand-in host)";

// `command` names the command whose help to point at, "" for the program's.
int fail(int code, const std::string &message, const std::string &command = "") {
    std::fprintf(stderr, "plof-host: %s\n", message.c_str());
    if (code == plof::tools::kExitUsage) {
        std::fprintf(stderr, "Try 'plof-host %s--help'.\n", command.empty() ? "" : (command + " ").c_str());
    }
    return code;
}

}  // namespace

int main(int argc, char **argv) {
    using namespace plof::tools;
    // The host's context and signals, for the whole run.
    const plof::host::HostProcess process;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // Without a command, the short overview: what the commands are and how to ask for more.
    if (arguments.empty()) {
        std::fputs(programHelp().c_str(), stderr);
        return kExitUsage;
    }
    const std::string &first = arguments.front();
    if (first == "--help" || first == "-h" || first == "help") {
        std::fputs(programHelp().c_str(), stdout);
        return kExitOk;
    }
    if (first == "--version") {
        std::puts(kVersion);
        return kExitOk;
    }
    const Command *command = nullptr;
    for (const Command *candidate : commands()) {
        if (first == candidate->name) {
            command = candidate;
        }
    }
    if (!command) {
        if (const auto reason = absentCommandReason(first)) {
            return fail(kExitUsage, "'" + first + "' is not in this build: " + *reason);
        }
        std::vector<std::string> names;
        for (const Command *candidate : commands()) names.emplace_back(candidate->name);
        const std::string near = plof::host::nearestWord(first, names);
        return fail(kExitUsage,
                    "unknown command '" + first + "'" + (near.empty() ? "" : "; did you mean '" + near + "'?"));
    }
    const auto rest = std::span<const std::string>(arguments).subspan(1);
    for (const std::string &argument : rest) {
        if (argument == "--help" || argument == "-h") {
            std::fputs(commandHelp(*command).c_str(), stdout);
            return kExitOk;
        }
    }
    try {
        return command->run(parseArguments(*command, rest));
    } catch (const UsageError &error) {
        return fail(kExitUsage, error.what(), command->name);
    } catch (const plof::host::RequestError &error) {
        return fail(kExitUsage, error.what(), command->name);
    } catch (const plof::host::InputError &error) {
        return fail(kExitBadInput, error.what());
    } catch (const std::exception &error) {
        return fail(kExitFailure, error.what());
    }
}
