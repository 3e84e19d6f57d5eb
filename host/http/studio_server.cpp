#include "host/http/studio_server.h"

#include <httplib.h>

#include "host/base/host_error.h"
#include "host/base/number_text.h"
#include "host/http/request_guard.h"

namespace plof::host::http {

namespace {

// A slow or stalled client holds a worker no longer than this.
constexpr time_t kTimeoutSeconds = 30;

void answerError(httplib::Response &response, int status, const std::string &message) {
    response.status = status;
    response.set_content(nlohmann::ordered_json{{"error", message}}.dump() + "\n", "application/json");
}

void answerJson(httplib::Response &response, const nlohmann::ordered_json &json) {
    response.set_content(json.dump() + "\n", "application/json");
}

RequestFacts factsOf(const httplib::Request &request) {
    return {request.get_header_value("Host"), request.get_header_value("Origin"), request.get_param_value("token"),
            request.get_header_value("Authorization"), request.get_header_value("Cookie")};
}

nlohmann::json bodyJson(const httplib::Request &request) {
    nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
    if (body.is_discarded()) throw studio::BadRequest("the body is not JSON");
    return body;
}

std::size_t itemNumber(const httplib::Request &request) {
    const auto number = parseInteger(request.matches[1].str());
    if (!number || *number < 1) throw studio::BadRequest("no item " + request.matches[1].str());
    return static_cast<std::size_t>(*number);
}

int32_t frameParameter(const httplib::Request &request, const char *name) {
    const auto frame = parseInteger(request.get_param_value(name));
    if (!frame) throw studio::BadRequest(std::string("\"") + name + "\" takes a whole frame number");
    return *frame;
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
    http_->set_payload_max_length(kBodyLimit);
    http_->set_read_timeout(kTimeoutSeconds);
    http_->set_write_timeout(kTimeoutSeconds);
    http_->set_pre_routing_handler([this](const httplib::Request &request, httplib::Response &response) {
        const std::string reason = refusalReason(factsOf(request), token_, port_);
        if (reason.empty()) return httplib::Server::HandlerResponse::Unhandled;
        answerError(response, 403, reason);
        return httplib::Server::HandlerResponse::Handled;
    });
    // Every answer of a route, and every failure, passes here: a request
    // the session cannot carry out as asked is the client's (400), anything
    // else ours (500).
    http_->set_exception_handler([](const httplib::Request &, httplib::Response &response, std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const RequestError &bad) {
            answerError(response, 400, bad.what());
        } catch (const std::exception &failure) {
            answerError(response, 500, failure.what());
        } catch (...) {
            answerError(response, 500, "unknown failure");
        }
    });
    addRoutes();
    addApiRoutes();
}

StudioServer::~StudioServer() = default;

void StudioServer::addRoutes() {
    for (const auto &[path, file] : page_) {
        http_->Get(path, [this, &file = file](const httplib::Request &, httplib::Response &response) {
            // The page's later requests carry the token as this cookie.
            response.set_header("Set-Cookie", tokenCookieHeader(token_));
            response.set_header("Cache-Control", "no-store");
            response.set_content(file.bytes, file.contentType);
        });
    }
}

void StudioServer::addApiRoutes() {
    // Each route parses on the worker thread and calls the model on the module's.
    http_->Get("/api/state", [this](const httplib::Request &, httplib::Response &response) {
        nlohmann::ordered_json state;
        moduleThread_.run([&] { state = model_.state(); });
        answerJson(response, state);
    });
    http_->Put(R"(/api/items/(\d+)/settings)", [this](const httplib::Request &request, httplib::Response &response) {
        const std::size_t item = itemNumber(request);
        const nlohmann::json body = bodyJson(request);
        nlohmann::ordered_json state;
        moduleThread_.run([&] { state = model_.changeSettings(item, body); });
        answerJson(response, state);
    });
    http_->Get("/api/frames", [this](const httplib::Request &request, httplib::Response &response) {
        const int32_t first = frameParameter(request, "from");
        const int32_t last = frameParameter(request, "to");
        std::string bytes;
        moduleThread_.run([&] { bytes = model_.frames(first, last); });
        response.set_content(std::move(bytes), "application/octet-stream");
    });
    http_->Get("/api/play.csv", [this](const httplib::Request &, httplib::Response &response) {
        std::string csv;
        moduleThread_.run([&] { csv = model_.playCsv(); });
        response.set_content(std::move(csv), "text/csv");
    });
    http_->Get(R"(/api/items/(\d+)/panel\.png)", [this](const httplib::Request &request, httplib::Response &response) {
        const std::size_t item = itemNumber(request);
        std::string png;
        moduleThread_.run([&] { png = model_.panelPicture(item); });
        response.set_header("Cache-Control", "no-store");
        response.set_content(std::move(png), "image/png");
    });
    http_->Post("/api/save", [this](const httplib::Request &request, httplib::Response &response) {
        const nlohmann::json body = bodyJson(request);
        nlohmann::ordered_json answer;
        moduleThread_.run([&] { answer = model_.save(body); });
        answerJson(response, answer);
    });
}

int StudioServer::bind(int port) {
    port_ = port == 0 ? http_->bind_to_any_port("127.0.0.1") : (http_->bind_to_port("127.0.0.1", port) ? port : -1);
    return port_;
}

bool StudioServer::listen() { return http_->listen_after_bind(); }

void StudioServer::stop() { http_->stop(); }

bool StudioServer::listening() const { return http_->is_running(); }

}  // namespace plof::host::http
