#include "command.h"

namespace plof::tools {

extern const Command kPlayCommand;
extern const Command kPanelCommand;
extern const Command kBakeCommand;
extern const Command kSummaryCommand;
extern const Command kRenderCommand;
extern const Command kExportCommand;

namespace {

const Command *const kCommands[] = {&kPlayCommand,   &kPanelCommand,   &kBakeCommand,
                                    &kRenderCommand, &kSummaryCommand, &kExportCommand};

}  // namespace

std::span<const Command *const> commands() { return kCommands; }

}  // namespace plof::tools
