#include "host/http/studio_stop.h"

#include <cstdio>
#include <cstdlib>

namespace plof::host::http {

StudioStop::StudioStop(ConfinedFolder &saves, std::string farewell)
    : saves_(saves), farewell_(std::move(farewell)), takenOver_([this] { request(); }) {}

StudioStop::Watch StudioStop::watch(ModuleThread &moduleThread) {
    watch(&moduleThread);
    return Watch(*this);
}

void StudioStop::watch(ModuleThread *moduleThread) {
    const std::lock_guard lock(mutex_);
    moduleThread_ = moduleThread;
    ended_ = moduleThread == nullptr;
}

void StudioStop::request() {
    bool busy = false;
    {
        const std::lock_guard lock(mutex_);
        if (ended_) return;
        busy = moduleThread_ == nullptr || !moduleThread_->idle();
        requested_ = true;
        if (serving_ != nullptr) serving_->stop();
    }
    if (busy) endNow();
}

bool StudioStop::serve(StudioServer &server) {
    const std::lock_guard lock(mutex_);
    serving_ = &server;
    return !requested_;
}

void StudioStop::served(ModuleThread &moduleThread) {
    {
        const std::lock_guard lock(mutex_);
        serving_ = nullptr;
    }
    if (!moduleThread.idle()) endNow();
}

void StudioStop::endNow() {
    // Whoever comes second waits here for the first to end the process.
    static std::mutex ending;
    ending.lock();
    removeNotedTemporaries();
    saves_.removeWorkFolder();
    std::fprintf(stderr, "%s\n", farewell_.c_str());
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);
}

}  // namespace plof::host::http
