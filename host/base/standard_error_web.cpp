#include <emscripten.h>

#include "host/base/standard_error.h"

// Node knows what its standard error is; the C library under it does not.
// In a browser standard error is the page's line of progress (the studio's
// worker hands it the lines), so long runs show their progress there.
EM_JS(int, plofStandardErrorIsTerminal, (), {
    if (typeof process != 'object' || !process.versions || !process.versions.node) return 1;
    return require('tty').isatty(2) ? 1 : 0;
});

namespace plof::host {

bool standardErrorIsTerminal() { return plofStandardErrorIsTerminal() == 1; }

}  // namespace plof::host
