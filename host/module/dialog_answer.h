// The file the module's last file dialog returned, kept between the dialog
// that answers it (dialogs/) and the message the module then shows about it
// (play/): the host names the file after that message. Process-wide, as the
// dialog and the messages are services the module reaches through plain C
// pointers.
#pragma once

#include <string>

namespace plof::host {

// Records the file a dialog for one file returned; "" when the dialog
// returned none (cancelled, or files picked for a list).
void setLastDialogAnswer(std::string path);

// The file the last dialog returned, "" when none did since the last call.
std::string takeLastDialogAnswer();

}  // namespace plof::host
