// A command of plof-host: its name, help, flags and what runs it. Each
// command lives in its own file and defines one Command (play_command.cpp
// defines kPlayCommand, declared in play_command.h); command_table.cpp lists
// them. main() picks the command by its name, parses the arguments against
// the command's flags (arguments.h) and calls run, which writes data to
// stdout, messages to stderr, and returns an exit code, or throws:
// UsageError and the host's RequestError exit 2, InputError 3, anything
// else 4.
#pragma once

#include <span>
#include <stdexcept>

#include "plof/host_services.h"

namespace plof::tools {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitBadInput = 3;
inline constexpr int kExitFailure = 4;

// A wrong command line; main() prints it with a pointer to --help.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct FlagSpec {
    const char *name;       // "--frames"
    const char *valueName;  // "A..B", or null for a flag without a value
    const char *help;
};

// Flag rows several commands share.
inline constexpr FlagSpec kModuleFlag{"--module", "PATH", "module file (default: plof.p beside plof-host)"};
inline constexpr FlagSpec kObjectsDirFlag{
    "--objects-dir", "DIR", "the host's \"" PLOF_DIRECTORY_OBJECTS "\" directory (default: the current directory)"};
inline constexpr FlagSpec kScenesDirFlag{
    "--scenes-dir", "DIR", "the host's \"" PLOF_DIRECTORY_SCENES "\" directory (default: the current directory)"};
// The one emitter of the commands that edit it through its panels.
inline constexpr FlagSpec kEmitterObjectFlag{"--object", "PATH",
                                             "object file or built-in shape for the emitter \"Emitter\" (required)"};
inline constexpr FlagSpec kEmitterMotionFlag{"--motion", "KEYS",
                                             "the emitter's keys \"f:x,y,z:h,p,b;...\", as for play"};

struct ParsedArguments;

struct Command {
    const char *name;
    const char *summary;  // one line for the command list
    const char *usage;    // the synopsis lines after "plof-host "
    const char *details;  // further help text, may be null
    std::span<const FlagSpec> flags;
    int (*run)(const ParsedArguments &arguments);
};

}  // namespace plof::tools
