#include "host/files/process_signals.h"

namespace plof::host {

// Node hands signals to JavaScript only between tasks, never while the
// program runs, and the program runs as one task: an interruption ends it
// at once, leaving the temporary file it was writing (.NAME.tmp-<process
// id>-<random> beside the output), and no file-size limit applies. There is
// nothing to install.
ProcessSignals::ProcessSignals() = default;
ProcessSignals::~ProcessSignals() = default;

}  // namespace plof::host
