// Ctrl-C (SIGINT), SIGTERM and a closed terminal (SIGHUP) as a request to
// stop, for a program that must end on its own terms (the studio removes
// what it was writing and its work folder). Construct it before starting
// other threads: they inherit the blocked signals, so only its own thread
// receives them.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace plof::host::http {

class StopSignals {
public:
    // Blocks SIGINT, SIGTERM and SIGHUP in the calling thread and calls
    // `stop` from a thread of its own when one of them arrives.
    explicit StopSignals(std::function<void()> stop);
    // Ends that thread; the signals stay blocked.
    ~StopSignals();
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

private:
    std::function<void()> stop_;
    std::atomic<bool> signalled_{false};
    std::atomic<bool> ending_{false};
    std::thread waiter_;
};

}  // namespace plof::host::http
