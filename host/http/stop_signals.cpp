#include "host/http/stop_signals.h"

#include <pthread.h>
#include <signal.h>

namespace plof::host::http {

namespace {

sigset_t stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

StopSignals::StopSignals(std::function<void()> stop) : stop_(std::move(stop)) {
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    waiter_ = std::thread([this, set] {
        int signal = 0;
        sigwait(&set, &signal);
        if (ending_) return;
        signalled_ = true;
        stop_();
    });
}

StopSignals::~StopSignals() {
    ending_ = true;
    // Wakes the waiter if no signal came; a signal that came has ended it.
    if (!signalled_) pthread_kill(waiter_.native_handle(), SIGTERM);
    waiter_.join();
}

}  // namespace plof::host::http
