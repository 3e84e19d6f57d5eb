// How the studio ends on an interruption (SIGINT, SIGTERM, SIGHUP; taken
// over from the process's signals while this lives, process_signals.h): the
// server stops serving at once; when the module's thread is idle the session
// ends as the host ends it and the front goes on to its own end, and
// otherwise nothing waits for the play under way: the files being written
// are removed, with the studio's work folder, `farewell` is written to
// standard error and the process ends with status 0. A second interruption
// during an orderly end ends it so too, if the module is busy then.
#pragma once

#include <mutex>
#include <string>

#include "host/files/confined_folder.h"
#include "host/files/process_signals.h"
#include "host/http/module_thread.h"
#include "host/http/studio_server.h"

namespace plof::host::http {

class StudioStop {
public:
    // `saves` must outlive this object; `farewell` is a line to print when
    // the stop ends the process itself.
    StudioStop(ConfinedFolder &saves, std::string farewell);
    StudioStop(const StudioStop &) = delete;
    StudioStop &operator=(const StudioStop &) = delete;

    // Looks at `moduleThread` while the returned object lives (the thread's
    // own life): a stop then asks whether it is idle. Once it is gone, a stop
    // has nothing left to cut short.
    class Watch {
    public:
        explicit Watch(StudioStop &stop) : stop_(stop) {}
        ~Watch() { stop_.watch(nullptr); }
        Watch(const Watch &) = delete;
        Watch &operator=(const Watch &) = delete;

    private:
        StudioStop &stop_;
    };
    [[nodiscard]] Watch watch(ModuleThread &moduleThread);

    // The server to stop, once it exists; false when a stop came first, and
    // the server is not to listen.
    bool serve(StudioServer &server);
    // Once serving has ended: returns when the module's thread is idle, so
    // that the session can end; otherwise ends the process now.
    void served(ModuleThread &moduleThread);

private:
    void watch(ModuleThread *moduleThread);
    void request();  // from the thread that takes interruptions
    [[noreturn]] void endNow();

    ConfinedFolder &saves_;
    std::string farewell_;
    std::mutex mutex_;  // guards what follows
    ModuleThread *moduleThread_ = nullptr;
    StudioServer *serving_ = nullptr;
    bool ended_ = false;
    bool requested_ = false;
    StopOnInterruption takenOver_;  // last: a stop may come once all above is there
};

}  // namespace plof::host::http
