// The host services the panels call besides the panel services themselves:
// error messages, the host's directories and its file dialog.
//
// The records are the module-wide ones fetched by handler activation. The
// host normally activates the handler before it opens a panel; should a
// record be missing all the same, these helpers degrade to doing nothing
// (no message, an empty directory, a cancelled dialog) instead of crashing
// the host.
#pragma once

#include <cstdint>

#include "instance/handler_instance.h"
#include "plof/host_services.h"

namespace plof {

// Shows an error of one line (`second` null) or two through "Info Messages".
void showError(const char *first, const char *second = nullptr);

// The host's directory of a kind (PLOF_DIRECTORY_OBJECTS, PLOF_DIRECTORY_SCENES);
// "" when unknown.
const char *hostDirectory(const char *kind);

// Runs the host's file dialog with a suggested name and starting directory.
// On a choice (host result above 0) the chosen path is in `result`, always
// NUL-terminated, and true is returned. The name and path are copied into
// buffers of their own, which the host may write into.
bool requestFile(const char *title, const char *name, const char *directory, LineBuffer &result);

}  // namespace plof
