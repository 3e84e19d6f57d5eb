#include "command.h"

namespace plof::tools {

extern const Command kPlayCommand;
extern const Command kPanelCommand;
extern const Command kBakeCommand;
extern const Command kSummaryCommand;
extern const Command kRenderCommand;
extern const Command kExportCommand;
#ifdef PLOF_STUDIO
extern const Command kStudioCommand;
#endif

namespace {

const Command *const kCommands[] = {
    &kPlayCommand,   &kPanelCommand, &kBakeCommand, &kRenderCommand, &kSummaryCommand, &kExportCommand,
#ifdef PLOF_STUDIO
    &kStudioCommand,
#endif
};

}  // namespace

std::span<const Command *const> commands() { return kCommands; }

}  // namespace plof::tools
