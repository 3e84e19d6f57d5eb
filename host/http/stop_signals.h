// Ctrl-C (SIGINT) and SIGTERM as a request to stop, for a program that must
// end cleanly (the studio's server closes its socket and the module is shut
// down as the host does). Construct it before starting other threads: they
// inherit the blocked signals, so only its own thread receives them.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace plof::host::http {

class StopSignals {
public:
    // Blocks SIGINT and SIGTERM in the calling thread and calls `stop` from a
    // thread of its own when one of them arrives.
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
