#include "command.h"

namespace plof::tools {

extern const Command kPlayCommand;

namespace {

const Command *const kCommands[] = {&kPlayCommand};

}  // namespace

std::span<const Command *const> commands() { return kCommands; }

}  // namespace plof::tools
