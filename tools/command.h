// The commands of plof-host and the option parsing they share.
//
// Each command lives in its own file and defines one Command (`extern const
// Command kPlayCommand;` in play_command.cpp); command_table.cpp lists them.
// main() picks the command by its name, parses the arguments against the
// command's flags and calls run, which writes data to stdout, messages to
// stderr, and returns an exit code (or throws: UsageError exits 2,
// InputError 3, anything else 4).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/frame_rate.h"
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

// Flag rows several commands share, each written once.
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

struct ParsedArguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  // flag name -> value ("" for flags without one)

    bool has(const std::string &flag) const { return values.count(flag) != 0; }
    std::optional<std::string> value(const std::string &flag) const;
};

struct Command {
    const char *name;
    const char *summary;  // one line for the command list
    const char *usage;    // the synopsis lines after "plof-host "
    const char *details;  // further help text, may be null
    std::span<const FlagSpec> flags;
    int (*run)(const ParsedArguments &arguments);
};

// Every command, in the order --help lists them.
std::span<const Command *const> commands();

// Parses `arguments` (after the command name) against the command's flags:
// "--flag VALUE", "--flag=VALUE", or the flag alone when it takes no value;
// anything else is positional. Throws UsageError for an unknown flag, a
// missing value or a flag given twice.
ParsedArguments parseArguments(const Command &command, std::span<const std::string> arguments);

// Options several commands share.
using host::FrameRange;
// "A..B" with whole numbers A <= B; UsageError naming `flag` otherwise.
FrameRange parseFrameRange(const std::string &flag, const std::string &text);
// A frame rate from host::kLowestFrameRate to host::kHighestFrameRate
// (host/base/frame_rate.h); UsageError naming
// `flag` otherwise.
double parseFrameRate(const std::string &flag, const std::string &text);
// A finite number above 0; UsageError naming `flag` otherwise.
double parsePositive(const std::string &flag, const std::string &text);
// --module's value, else plof.p beside the running plof-host.
std::string modulePath(const ParsedArguments &arguments);

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
