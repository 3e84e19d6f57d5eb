#include "command.h"

namespace plof::tools {

extern const Command kPlayCommand;
extern const Command kPanelCommand;
extern const Command kBakeCommand;

namespace {

const Command *const kCommands[] = {&kPlayCommand, &kPanelCommand, &kBakeCommand};

}  // namespace

std::span<const Command *const> commands() { return kCommands; }

}  // namespace plof::tools
