// Whether standard error is a terminal, where a long run shows its progress
// (and a log file or a pipe gets none). One file per platform.
#pragma once

namespace plof::host {

bool standardErrorIsTerminal();

}  // namespace plof::host
