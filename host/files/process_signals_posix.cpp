#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "host/files/process_signals.h"

namespace plof::host {

namespace {

constexpr int kEnding[] = {SIGINT, SIGTERM, SIGHUP};

struct sigaction gBeforeSizeLimit;
sigset_t gBeforeMask;
sigset_t gTaken;  // the interruptions not ignored at the start
int gWaking = 0;  // one of them, to wake the thread that takes them; 0 for none
std::thread gTaker;
std::atomic<bool> gEnding{false};

// Guards gStop, and keeps a StopOnInterruption alive while its stop runs.
std::mutex gStopMutex;
const std::function<void()> *gStop = nullptr;

bool handOver() {
    const std::lock_guard lock(gStopMutex);
    if (gStop == nullptr) return false;
    (*gStop)();
    return true;
}

[[noreturn]] void endInterrupted(int signal) {
    removeNotedTemporaries();
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    ::sigaction(signal, &byDefault, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    // Sent to this thread, the only one where it is not blocked: the process ends by it.
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);  // not reached: the signal's default is to end the process
}

void takeInterruptions() {
    for (;;) {
        int signal = 0;
        if (::sigwait(&gTaken, &signal) != 0) continue;
        if (gEnding) return;
        if (!handOver()) endInterrupted(signal);
    }
}

}  // namespace

ProcessSignals::ProcessSignals() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, &gBeforeSizeLimit);
    sigemptyset(&gTaken);
    gWaking = 0;
    for (int signal : kEnding) {
        // A signal ignored by whoever started us (nohup, a background job) stays ignored.
        struct sigaction before {};
        ::sigaction(signal, nullptr, &before);
        if (before.sa_handler == SIG_IGN) continue;
        sigaddset(&gTaken, signal);
        gWaking = signal;
    }
    ::pthread_sigmask(SIG_BLOCK, &gTaken, &gBeforeMask);
    if (gWaking == 0) return;
    gEnding = false;
    gTaker = std::thread(takeInterruptions);
}

ProcessSignals::~ProcessSignals() {
    if (gTaker.joinable()) {
        gEnding = true;
        // Wakes the taker with a signal it takes; one sent meanwhile to the
        // process stays pending, and ends it once unblocked below.
        ::pthread_kill(gTaker.native_handle(), gWaking);
        gTaker.join();
    }
    ::pthread_sigmask(SIG_SETMASK, &gBeforeMask, nullptr);
    ::sigaction(SIGXFSZ, &gBeforeSizeLimit, nullptr);
}

StopOnInterruption::StopOnInterruption(std::function<void()> stop) : stop_(std::move(stop)) {
    const std::lock_guard lock(gStopMutex);
    if (gStop != nullptr) throw std::logic_error("interruptions are taken over already");
    gStop = &stop_;
}

StopOnInterruption::~StopOnInterruption() {
    const std::lock_guard lock(gStopMutex);
    gStop = nullptr;
}

}  // namespace plof::host
