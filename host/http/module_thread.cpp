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
    uint64_t ticket = 0;
    {
        std::lock_guard lock(mutex_);
        work_.push_back(std::move(task));
        ticket = ++queuedCount_;
    }
    queued_.notify_one();
    // Until the thread is done with it, not only until its result is set,
    // so that idle() right after says what the thread is doing.
    {
        std::unique_lock lock(mutex_);
        ended_.wait(lock, [&] { return finishedCount_ >= ticket; });
    }
    done.get();
}

void ModuleThread::post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        work_.emplace_back(std::move(work));
        ++queuedCount_;
    }
    queued_.notify_one();
}

bool ModuleThread::idle() {
    std::lock_guard lock(mutex_);
    return !running_ && work_.empty();
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
            running_ = true;
        }
        task();
        {
            std::lock_guard lock(mutex_);
            running_ = false;
            ++finishedCount_;
        }
        ended_.notify_all();
    }
}

}  // namespace plof::host::http
