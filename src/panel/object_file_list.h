// The object files that stand for particles in a baked scene: the "ObjectFile "
// button of the scene-baking panel adds one file per press.
//
// addObjectFile is that button's event, called by the host as (button,
// OptionsPanelContext). It finds the list to fill through the panel services'
// user-data word, which the scene-baking panel points at the instance's
// objectList before the panel opens. The list holds at most 255 entries of
// 255 characters; the host's dialog is given the same 256-byte buffer, so a
// chosen path always fits an entry.
#pragma once

#include <cstddef>

#include "plof/panel_services.h"

namespace plof {

void addObjectFile(PlofControl control, void *context);

// result := the directory part of `path`, with its trailing separator: the
// characters up to and including the last separator. A path without one
// gives its first character alone, an empty path an empty result. The result
// is cut to capacity - 1 characters (capacity must be > 0); a result buffer
// as large as the path's never cuts.
void directoryOf(const char *path, char *result, std::size_t capacity);

}  // namespace plof
