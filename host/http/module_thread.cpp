#include "host/http/module_thread.h"

namespace plof::host::http {

ModuleThread::ModuleThread() : thread_([this] { serve(); }) {}

ModuleThread::~ModuleThread() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_one();
    thread_.join();
}

void ModuleThread::run(std::function<void()> work) {
    std::packaged_task<void()> task(std::move(work));
    std::future<void> done = task.get_future();
    {
        std::lock_guard lock(mutex_);
        work_.push_back(std::move(task));
    }
    queued_.notify_one();
    done.get();
}

void ModuleThread::serve() {
    for (;;) {
        std::packaged_task<void()> task;
        {
            std::unique_lock lock(mutex_);
            queued_.wait(lock, [this] { return stopping_ || !work_.empty(); });
            if (work_.empty()) return;
            task = std::move(work_.front());
            work_.pop_front();
        }
        task();
    }
}

}  // namespace plof::host::http
