#include <csignal>

#include "host/files/process_signals.h"

namespace plof::host {

namespace {

// Windows has no file-size signal and no hang-up; Ctrl+C and termination
// requests arrive as SIGINT and SIGTERM.
constexpr int kEnding[] = {SIGINT, SIGTERM};
void (*gBefore[sizeof kEnding / sizeof kEnding[0]])(int);

// Ctrl+C runs this on a thread of its own and SIGTERM comes from raise(),
// never in the middle of another call: the removal may list a folder.
void endInterrupted(int signal) {
    removeNotedTemporaries();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

ProcessSignals::ProcessSignals() {
    for (std::size_t i = 0; i < sizeof kEnding / sizeof kEnding[0]; ++i) {
        gBefore[i] = std::signal(kEnding[i], endInterrupted);
        // A signal ignored by whoever started us stays ignored.
        if (gBefore[i] == SIG_IGN) std::signal(kEnding[i], SIG_IGN);
    }
}

ProcessSignals::~ProcessSignals() {
    for (std::size_t i = 0; i < sizeof kEnding / sizeof kEnding[0]; ++i) std::signal(kEnding[i], gBefore[i]);
}

}  // namespace plof::host
