// The studio's local HTTP server (cpp-httplib): it listens on 127.0.0.1
// only, refuses every request that request_guard.h refuses (403) and bodies
// above kBodyLimit (413), serves the page and its script from memory, and
// hands every /api/ request to the session's routes (studio_routes.h) on one
// ModuleThread.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "host/http/module_thread.h"
#include "host/studio/studio_model.h"

namespace httplib {
class Server;
}

namespace plof::host::http {

inline constexpr std::size_t kBodyLimit = 64 * 1024;

// A file of the page: its bytes and content type.
struct PageFile {
    std::string bytes;
    std::string contentType;
};

class StudioServer {
public:
    // `page` maps request paths ("/", "/studio.js") to files; `model` and
    // `moduleThread` (the thread that calls the module) must outlive the server.
    StudioServer(studio::StudioModel &model, ModuleThread &moduleThread, std::map<std::string, PageFile> page,
                 std::string token);
    ~StudioServer();
    StudioServer(const StudioServer &) = delete;
    StudioServer &operator=(const StudioServer &) = delete;

    // Binds 127.0.0.1:`port` (0: a free port). Returns the port, or -1 when
    // it cannot be bound (in use).
    int bind(int port);
    // Serves until stop(); false when serving failed.
    bool listen();
    // Ends listen() from any thread; does nothing before listen() has begun.
    void stop();
    bool listening() const;

    const std::string &token() const { return token_; }

private:
    void addRoutes();
    void addApiRoutes();

    studio::StudioModel &model_;
    std::map<std::string, PageFile> page_;
    std::string token_;
    int port_ = 0;
    ModuleThread &moduleThread_;
    std::unique_ptr<httplib::Server> http_;
};

}  // namespace plof::host::http
