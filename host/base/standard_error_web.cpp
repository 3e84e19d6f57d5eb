#include <emscripten.h>

#include "host/base/standard_error.h"

// Node knows what its standard error is; the C library under it does not.
EM_JS(int, plofStandardErrorIsTerminal, (), { return require('tty').isatty(2) ? 1 : 0; });

namespace plof::host {

bool standardErrorIsTerminal() { return plofStandardErrorIsTerminal() == 1; }

}  // namespace plof::host
