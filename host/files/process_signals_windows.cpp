#include <csignal>
#include <cstdio>

#include "host/base/host_context.h"
#include "host/files/process_signals.h"
#include "host/files/temporary_files.h"

namespace plof::host {

namespace {

// Windows has no file-size signal and no hang-up; Ctrl+C and termination
// requests arrive as SIGINT and SIGTERM.
constexpr int kEnding[] = {SIGINT, SIGTERM};
void (*gBefore[sizeof kEnding / sizeof kEnding[0]])(int);

void removeFile(const char *path) { std::remove(path); }

void endInterrupted(int signal) {
    if (const HostContext *context = hostContext(); context && context->temporaries) {
        context->temporaries->removeAll(&removeFile);
    }
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
