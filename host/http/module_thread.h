// The one thread that calls the module, as the host's own thread does: the
// server hands its work to it, so the module sees one call at a time, in the
// order the work was queued, while the server goes on serving.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace plof::host::http {

class ModuleThread {
public:
    ModuleThread();
    // Runs the work already queued, then stops the thread.
    ~ModuleThread();
    ModuleThread(const ModuleThread &) = delete;
    ModuleThread &operator=(const ModuleThread &) = delete;

    // Runs `work` on the module's thread after everything queued before it
    // and returns once it has run, throwing what it threw.
    void run(std::function<void()> work);
    // Queues `work` after everything queued before it and returns at once;
    // `work` must not throw (what it throws is lost).
    void post(std::function<void()> work);
    // Whether no work is queued or running now: a stop then need not wait.
    bool idle();

private:
    void serve();

    std::mutex mutex_;
    std::condition_variable queued_;
    std::condition_variable ended_;  // a work has ended
    std::deque<std::packaged_task<void()>> work_;
    uint64_t queuedCount_ = 0;
    uint64_t finishedCount_ = 0;
    bool running_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last: starts once the queue exists
};

}  // namespace plof::host::http
