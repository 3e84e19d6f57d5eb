#include <io.h>

#include <cstdio>

#include "host/base/standard_error.h"

namespace plof::host {

bool standardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

}  // namespace plof::host
