#include "host/http/studio_server.h"

#include <httplib.h>

#include "host/http/request_guard.h"
#include "host/studio/studio_routes.h"

namespace plof::host::http {

namespace {

// A slow or stalled client holds a worker no longer than this.
constexpr time_t kTimeoutSeconds = 30;

void answer(httplib::Response &response, const studio::StudioAnswer &answer) {
    response.status = answer.status;
    response.set_content(answer.body, answer.contentType);
}

RequestFacts factsOf(const httplib::Request &request) {
    return {request.path, request.get_header_value("Host"), request.get_header_value("Origin"),
            request.get_header_value("Authorization")};
}

studio::StudioRequest studioRequest(const httplib::Request &request) {
    studio::StudioRequest call{request.method, request.path, {}, request.body};
    for (const auto &[name, value] : request.params) call.query.emplace(name, value);
    return call;
}

}  // namespace

StudioServer::StudioServer(studio::StudioModel &model, ModuleThread &moduleThread, std::map<std::string, PageFile> page,
                           std::string token)
    : model_(model), page_(std::move(page)), token_(std::move(token)), moduleThread_(moduleThread),
      http_(std::make_unique<httplib::Server>()) {
    // Address reuse after a restart, but not the library's SO_REUSEPORT, with
    // which a second server (anyone's) could bind the same port and take
    // half of the connections.
    http_->set_socket_options([](socket_t socket) {
        int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // No address of the page (with its token) leaves in a Referer, and no
    // other site may show the page in a frame.
    http_->set_default_headers({{"Referrer-Policy", "no-referrer"},
                                {"Content-Security-Policy", "frame-ancestors 'none'"},
                                {"X-Frame-Options", "DENY"}});
    http_->set_payload_max_length(kBodyLimit);
    http_->set_read_timeout(kTimeoutSeconds);
    http_->set_write_timeout(kTimeoutSeconds);
    http_->set_pre_routing_handler([this](const httplib::Request &request, httplib::Response &response) {
        const std::string reason = refusalReason(factsOf(request), token_, port_);
        if (reason.empty()) return httplib::Server::HandlerResponse::Unhandled;
        answer(response, studio::errorAnswer(403, reason));
        return httplib::Server::HandlerResponse::Handled;
    });
    // A failure of the library's own (a handler never throws).
    http_->set_exception_handler([](const httplib::Request &, httplib::Response &response, std::exception_ptr) {
        answer(response, studio::errorAnswer(500, "unknown failure"));
    });
    addRoutes();
    addApiRoutes();
}

StudioServer::~StudioServer() = default;

void StudioServer::addRoutes() {
    for (const auto &[path, file] : page_) {
        http_->Get(path, [this, &file = file](const httplib::Request &, httplib::Response &response) {
            response.set_header("Cache-Control", "no-store");
            response.set_content(file.bytes, file.contentType);
        });
    }
}

void StudioServer::addApiRoutes() {
    // Every request of the interface goes whole to the session's routes, on the module's thread.
    const auto handler = [this](const httplib::Request &request, httplib::Response &response) {
        const studio::StudioRequest call = studioRequest(request);
        studio::StudioAnswer answered;
        moduleThread_.run([&] { answered = studio::answerRequest(model_, call); });
        if (call.path.ends_with(".png")) response.set_header("Cache-Control", "no-store");
        answer(response, answered);
    };
    http_->Get(R"(/api/.*)", handler);
    http_->Put(R"(/api/.*)", handler);
    http_->Post(R"(/api/.*)", handler);
}

int StudioServer::bind(int port) {
    port_ = port == 0 ? http_->bind_to_any_port("127.0.0.1") : (http_->bind_to_port("127.0.0.1", port) ? port : -1);
    return port_;
}

bool StudioServer::listen() { return http_->listen_after_bind(); }

void StudioServer::stop() { http_->stop(); }

bool StudioServer::listening() const { return http_->is_running(); }

}  // namespace plof::host::http
