#include <unistd.h>

#include "host/base/standard_error.h"

namespace plof::host {

bool standardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace plof::host
