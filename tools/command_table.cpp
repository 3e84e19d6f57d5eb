#include "command_table.h"

#include "bake_command.h"
#include "export_command.h"
#include "panel_command.h"
#include "play_command.h"
#include "render_command.h"
#include "summary_command.h"
#ifdef PLOF_STUDIO
#include "studio_command.h"
#endif

namespace plof::tools {

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
