// Pictures of an open panel as PNG files, drawn the way the stand-in host
// lays the panel out (panel_layout.h): the title, every control as a box at
// its place with its label to the left and its value, and the pixels the
// module drew, in the host's colours.
//
// Built with cairo where the build found it; elsewhere (the 32-bit Windows
// build of the host) snapshotAvailable() is false and writing fails with a
// message saying so.
#pragma once

#include "host/panels/panel_record.h"

#include <cstdint>
#include <string>

namespace plof::host {

bool snapshotAvailable();

// Writes a PNG of panelWidth() x panelHeight() pixels to `path`; false with
// `problem` naming the file and what went wrong.
bool writePanelSnapshot(const PlofPanelRecord &panel, const std::string &path, std::string &problem);

}  // namespace plof::host
