// The one thread that calls the module, as the host's own thread does: the
// server's worker threads hand their work to it and wait for it, so the
// module sees one call at a time, in the order the work was queued.
#pragma once

#include <condition_variable>
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

private:
    void serve();

    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::packaged_task<void()>> work_;
    bool stopping_ = false;
    std::thread thread_;  // last: starts once the queue exists
};

}  // namespace plof::host::http
