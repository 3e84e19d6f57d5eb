// The signals the host handles, installed for a run of the host by its
// HostProcess (host/run/host_process.h), after the context they read:
//   - a file-size limit (SIGXFSZ) is ignored, so that a write beyond it fails
//     like a full disk: the output names the file and keeps the old one;
//   - an interruption (SIGINT, SIGTERM, SIGHUP) removes the temporary files
//     being written (the installed context's TemporaryFiles), then ends the
//     program as the signal would have (the shell sees 128 + the signal's
//     number); one that was ignored when the program started (nohup) stays
//     ignored.
// Whatever the scope replaced is put back when it ends. One file per platform.
#pragma once

namespace plof::host {

class ProcessSignals {
public:
    ProcessSignals();
    ~ProcessSignals();
    ProcessSignals(const ProcessSignals &) = delete;
    ProcessSignals &operator=(const ProcessSignals &) = delete;
};

}  // namespace plof::host
