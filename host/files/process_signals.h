// The signals the host handles, all in one place, installed for a run of
// the host by its HostProcess (host/run/host_process.h), after the context
// they read:
//   - a file-size limit (SIGXFSZ) is ignored, so that a write beyond it fails
//     like a full disk: the output names the file and keeps the old one;
//   - an interruption (SIGINT, SIGTERM, SIGHUP) removes the temporary files
//     being written (the installed context's TemporaryFiles, each as
//     removeNoted says), then ends the program as the signal would have (the
//     shell sees 128 + the signal's number); one that was ignored when the
//     program started (nohup) stays ignored;
//   - unless a program that ends on its own terms has taken interruptions
//     over (StopOnInterruption, as the studio's stop does): its stop is then
//     called instead, once for each interruption.
// On POSIX the interruptions are blocked in every thread and taken by a
// thread of their own, so that all of this runs outside a signal handler
// (the module's temporaries are found by listing a folder): construct the
// HostProcess before any other thread, which then inherits the blocked
// signals. A signal sent to one thread only (raise) rather than to the
// process stays pending. On Windows a handler does it (Ctrl+C runs it on a
// thread of its own); the WebAssembly build installs nothing. Whatever the
// scope replaced is put back when it ends. One file per platform.
#pragma once

#include <functional>

namespace plof::host {

class ProcessSignals {
public:
    ProcessSignals();
    ~ProcessSignals();
    ProcessSignals(const ProcessSignals &) = delete;
    ProcessSignals &operator=(const ProcessSignals &) = delete;
};

// While it lives, an interruption calls `stop` (on the thread that takes
// interruptions) rather than ending the program; the program ends on its own
// terms. At most one at a time: a second throws std::logic_error. Its end
// waits for a stop under way to return. POSIX only: the studio, its one
// user, is built only there.
class StopOnInterruption {
public:
    explicit StopOnInterruption(std::function<void()> stop);
    ~StopOnInterruption();
    StopOnInterruption(const StopOnInterruption &) = delete;
    StopOnInterruption &operator=(const StopOnInterruption &) = delete;

private:
    std::function<void()> stop_;
};

// Removes the temporary files noted in the installed context, as an
// interruption does: for a stop that ends the program itself.
void removeNotedTemporaries() noexcept;

}  // namespace plof::host
