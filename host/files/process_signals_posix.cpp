#include <signal.h>
#include <unistd.h>

#include "host/base/host_context.h"
#include "host/files/process_signals.h"
#include "host/files/temporary_files.h"

namespace plof::host {

namespace {

constexpr int kEnding[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction gBefore[sizeof kEnding / sizeof kEnding[0]];
struct sigaction gBeforeSizeLimit;

void removeFile(const char *path) { ::unlink(path); }

// Only async-signal-safe calls: atomics, unlink, sigaction, raise.
void endInterrupted(int signal) {
    if (const HostContext *context = hostContext(); context && context->temporaries) {
        context->temporaries->removeAll(&removeFile);
    }
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    ::sigaction(signal, &byDefault, nullptr);
    ::raise(signal);
}

}  // namespace

ProcessSignals::ProcessSignals() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, &gBeforeSizeLimit);
    struct sigaction interrupted {};
    interrupted.sa_handler = endInterrupted;
    sigemptyset(&interrupted.sa_mask);
    for (int signal : kEnding) sigaddset(&interrupted.sa_mask, signal);
    for (std::size_t i = 0; i < sizeof kEnding / sizeof kEnding[0]; ++i) {
        // A signal ignored by whoever started us (nohup, a background job) stays ignored.
        ::sigaction(kEnding[i], nullptr, &gBefore[i]);
        if (gBefore[i].sa_handler != SIG_IGN) ::sigaction(kEnding[i], &interrupted, nullptr);
    }
}

ProcessSignals::~ProcessSignals() {
    for (std::size_t i = 0; i < sizeof kEnding / sizeof kEnding[0]; ++i) ::sigaction(kEnding[i], &gBefore[i], nullptr);
    ::sigaction(SIGXFSZ, &gBeforeSizeLimit, nullptr);
}

}  // namespace plof::host
