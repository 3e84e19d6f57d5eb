// The studio's local HTTP server (GNU libmicrohttpd): it listens on
// 127.0.0.1 only, serves the page and its script from memory, and hands
// every /api/ request to the session's routes (studio_routes.h) on the one
// ModuleThread. One thread runs the event loop and never waits on the
// module: a connection whose request is being answered is suspended until
// its answer is made.
//
// What a client may cost is bounded, with or without a token: a request's
// head is refused as request_reading.h says, before its body is read; a
// head must fit kHeadMemory (the library answers 431 otherwise, however
// many lines it has); bodies are counted as they arrive, never decoded;
// ranges are not served; the phases of a connection have deadlines and the
// longest idle connection is closed once kConnections are open
// (connection_keeper.h). Every answer says Referrer-Policy: no-referrer and
// may not be shown in another site's frame.
#pragma once

#include <atomic>
#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "host/http/connection_keeper.h"
#include "host/http/module_thread.h"
#include "host/studio/studio_model.h"

namespace plof::host::http {

inline constexpr std::size_t kHeadMemory = 32 * 1024;

// A file of the page: its bytes and content type.
struct PageFile {
    std::string bytes;
    std::string contentType;
};

class StudioServer {
public:
    // `page` maps request paths ("/", "/plof-studio.js") to files; `model` and
    // `moduleThread` (the thread that calls the module) must outlive the server.
    StudioServer(studio::StudioModel &model, ModuleThread &moduleThread, std::map<std::string, PageFile> page,
                 std::string token);
    ~StudioServer();
    StudioServer(const StudioServer &) = delete;
    StudioServer &operator=(const StudioServer &) = delete;

    // Listens on 127.0.0.1:`port` (0: a free port). Returns the port, or -1
    // when it cannot be bound (in use).
    int bind(int port);
    // Serves until stop(); false when serving failed.
    bool listen();
    // Ends listen() from any thread, also when called before listen() began.
    void stop();

    const std::string &token() const { return token_; }

    struct Daemon;  // the library's side, in the .cpp

private:
    std::unique_ptr<Daemon> daemon_;
    std::string token_;
    std::atomic<bool> stopping_{false};
};

}  // namespace plof::host::http
