#include "command.h"

namespace plof::tools {

extern const Command kPlayCommand;
extern const Command kPanelCommand;
extern const Command kBakeCommand;
extern const Command kSummaryCommand;
extern const Command kRenderCommand;

namespace {

const Command *const kCommands[] = {&kPlayCommand, &kPanelCommand, &kBakeCommand, &kRenderCommand, &kSummaryCommand};

}  // namespace

std::span<const Command *const> commands() { return kCommands; }

}  // namespace plof::tools
