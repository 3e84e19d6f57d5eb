#include "command_table.h"

#include "bake_command.h"
#include "export_command.h"
#include "panel_command.h"
#include "play_command.h"
#include "summary_command.h"
#ifdef PLOF_RENDER
#include "render_command.h"
#endif
#ifdef PLOF_STUDIO
#include "studio_command.h"
#endif

namespace plof::tools {

namespace {

const Command *const kCommands[] = {
    &kPlayCommand,    &kPanelCommand,  &kBakeCommand,
#ifdef PLOF_RENDER
    &kRenderCommand,
#endif
    &kSummaryCommand, &kExportCommand,
#ifdef PLOF_STUDIO
    &kStudioCommand,
#endif
};

}  // namespace

std::span<const Command *const> commands() { return kCommands; }

std::optional<std::string> absentCommandReason([[maybe_unused]] const std::string &name) {
#ifndef PLOF_RENDER
    if (name == "render") return "it draws no pictures (it has no cairo); the native plof-host renders";
#endif
#ifndef PLOF_STUDIO
    if (name == "studio")
        return "it has no local HTTP server (GNU libmicrohttpd); the native plof-host runs the studio";
#endif
    return std::nullopt;
}

}  // namespace plof::tools
