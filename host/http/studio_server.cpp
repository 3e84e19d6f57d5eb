#include "host/http/studio_server.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include <mutex>
#include <optional>
#include <set>

#include "host/http/request_reading.h"
#include "host/studio/studio_routes.h"

namespace plof::host::http {

namespace {

using Clock = ConnectionKeeper::Clock;
using Phase = ConnectionKeeper::Phase;

// A connection silent this long is closed by the library itself (a client
// that stopped reading its answer, say).
constexpr unsigned kIdleSeconds = 30;
// How long the event loop waits for the network at most before it looks at
// the deadlines and whether to stop.
constexpr int32_t kLoopMilliseconds = 100;

// An answer made on the module's thread for a suspended connection.
struct PendingAnswer {
    std::mutex mutex;
    MHD_Connection *connection = nullptr;  // null once the server let the connection go
    int wake = -1;                         // written to wake the event loop once resumed
    std::optional<studio::StudioAnswer> answer;
};

void wakeLoop(int wake) {
    const uint64_t one = 1;
    // A full counter already wakes the loop: nothing to do when the write fails.
    [[maybe_unused]] const ssize_t written = ::write(wake, &one, sizeof one);
}

// One request of the interface, from its complete head to its answer.
struct Exchange {
    studio::StudioRequest call;
    BodyReader body;
    bool picture = false;  // answered with Cache-Control: no-store
    std::shared_ptr<PendingAnswer> pending;
};

MHD_Result addHeader(void *cls, MHD_ValueKind, const char *name, const char *value) {
    static_cast<std::vector<std::pair<std::string, std::string>> *>(cls)->emplace_back(name, value ? value : "");
    return MHD_YES;
}

MHD_Result addQuery(void *cls, MHD_ValueKind, const char *name, const char *value) {
    static_cast<std::map<std::string, std::string> *>(cls)->emplace(name, value ? value : "");
    return MHD_YES;
}

}  // namespace

struct StudioServer::Daemon {
    studio::StudioModel &model;
    ModuleThread &moduleThread;
    const std::map<std::string, PageFile> page;
    const std::string &token;
    int port = 0;
    ConnectionKeeper keeper{ConnectionKeeper::Limits{}};
    std::set<std::shared_ptr<PendingAnswer>> suspended;
    // The library's event loop does not wake for a connection resumed from
    // another thread: the loop waits on this too.
    const int wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    MHD_Daemon *daemon = nullptr;  // last: stopped before the rest goes

    Daemon(studio::StudioModel &served, ModuleThread &thread, std::map<std::string, PageFile> files,
           const std::string &serverToken)
        : model(served), moduleThread(thread), page(std::move(files)), token(serverToken) {}
    ~Daemon();
    MHD_Result access(MHD_Connection *connection, const char *url, const char *method, const char *upload,
                      size_t *uploadSize, void **context);
    MHD_Result begin(MHD_Connection *connection, const char *url, const char *method, void **context);
    MHD_Result startWork(MHD_Connection *connection, Exchange &exchange);
    MHD_Result finish(MHD_Connection *connection, Exchange &exchange);
    MHD_Result send(MHD_Connection *connection, studio::StudioAnswer answer, bool noStore);
    MHD_Result sendPage(MHD_Connection *connection, const PageFile &file);
    MHD_Result queue(MHD_Connection *connection, int status, MHD_Response *response, const std::string &type,
                     bool noStore);
    void completed(MHD_Connection *connection, void **context);
    void closeOverdue();
};

namespace {

MHD_Result accessOf(void *daemon, MHD_Connection *connection, const char *url, const char *method, const char *,
                    const char *upload, size_t *uploadSize, void **context) {
    return static_cast<StudioServer::Daemon *>(daemon)->access(connection, url, method, upload, uploadSize, context);
}

void completedOf(void *daemon, MHD_Connection *connection, void **context, MHD_RequestTerminationCode) {
    static_cast<StudioServer::Daemon *>(daemon)->completed(connection, context);
}

void connectionOf(void *daemon, MHD_Connection *connection, void **, MHD_ConnectionNotificationCode code) {
    ConnectionKeeper &keeper = static_cast<StudioServer::Daemon *>(daemon)->keeper;
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
        keeper.opened(connection, Clock::now());
    } else {
        keeper.closed(connection);
    }
}

}  // namespace

StudioServer::Daemon::~Daemon() {
    // The library may not stop with a connection suspended: answers still
    // being made are let go (their work finds no connection to resume).
    for (const std::shared_ptr<PendingAnswer> &pending : suspended) {
        std::lock_guard lock(pending->mutex);
        if (pending->connection != nullptr && !pending->answer) MHD_resume_connection(pending->connection);
        pending->connection = nullptr;
    }
    if (daemon != nullptr) MHD_stop_daemon(daemon);
    if (wake >= 0) ::close(wake);
}

MHD_Result StudioServer::Daemon::access(MHD_Connection *connection, const char *url, const char *method,
                                        const char *upload, size_t *uploadSize, void **context) {
    auto *exchange = static_cast<Exchange *>(*context);
    if (exchange == nullptr) return begin(connection, url, method, context);
    if (*uploadSize > 0) {
        exchange->body.add({upload, *uploadSize});
        *uploadSize = 0;
        return MHD_YES;
    }
    if (!exchange->pending) return startWork(connection, *exchange);
    return finish(connection, *exchange);
}

// The head is complete: refused, a file of the page, or a request of the
// interface whose body comes next.
MHD_Result StudioServer::Daemon::begin(MHD_Connection *connection, const char *url, const char *method,
                                       void **context) {
    keeper.enter(connection, Phase::reading, Clock::now());
    RequestHead head{method, url, {}};
    MHD_get_connection_values(connection, MHD_HEADER_KIND, &addHeader, &head.headers);
    if (const auto refusal = refuseHead(head, token, port)) {
        return send(connection, studio::errorAnswer(refusal->status, refusal->reason), false);
    }
    // A HEAD is answered as a GET, without the body (the library leaves it out).
    const std::string verb = head.method == "HEAD" ? "GET" : head.method;
    if (!head.path.starts_with("/api/")) {
        const auto file = page.find(head.path);
        if (file == page.end())
            return send(connection, studio::errorAnswer(404, "the studio has no " + head.path), false);
        if (verb != "GET") {
            return send(connection, studio::errorAnswer(405, head.method + " is not taken by " + head.path), false);
        }
        return sendPage(connection, file->second);
    }
    auto made = std::make_unique<Exchange>();
    made->call = {verb, head.path, {}, ""};
    MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, &addQuery, &made->call.query);
    made->picture = head.path.ends_with(".png");
    *context = made.release();
    return MHD_YES;
}

// The body is complete: the request goes to the module's thread, and the
// connection waits, suspended, until its answer is made.
MHD_Result StudioServer::Daemon::startWork(MHD_Connection *connection, Exchange &exchange) {
    if (const auto refusal = exchange.body.refusal()) {
        return send(connection, studio::errorAnswer(refusal->status, refusal->reason), false);
    }
    exchange.call.body = std::move(exchange.body.body());
    exchange.pending = std::make_shared<PendingAnswer>();
    exchange.pending->connection = connection;
    exchange.pending->wake = wake;
    suspended.insert(exchange.pending);
    keeper.enter(connection, Phase::working, Clock::now());
    MHD_suspend_connection(connection);
    moduleThread.post([&model = model, pending = exchange.pending, call = std::move(exchange.call)] {
        studio::StudioAnswer answer = studio::answerRequest(model, call);
        std::lock_guard lock(pending->mutex);
        pending->answer = std::move(answer);
        if (pending->connection == nullptr) return;
        MHD_resume_connection(pending->connection);
        wakeLoop(pending->wake);
    });
    return MHD_YES;
}

MHD_Result StudioServer::Daemon::finish(MHD_Connection *connection, Exchange &exchange) {
    std::optional<studio::StudioAnswer> answer;
    {
        std::lock_guard lock(exchange.pending->mutex);
        answer = std::move(exchange.pending->answer);
    }
    suspended.erase(exchange.pending);
    if (!answer) return MHD_NO;  // let go while stopping: the connection closes
    return send(connection, std::move(*answer), exchange.picture);
}

MHD_Result StudioServer::Daemon::send(MHD_Connection *connection, studio::StudioAnswer answer, bool noStore) {
    auto *bytes = new std::string(std::move(answer.body));
    MHD_Response *response = MHD_create_response_from_buffer_with_free_callback_cls(
        bytes->size(), bytes->data(), [](void *owned) { delete static_cast<std::string *>(owned); }, bytes);
    if (response == nullptr) {
        delete bytes;
        return MHD_NO;
    }
    return queue(connection, answer.status, response, answer.contentType, noStore);
}

MHD_Result StudioServer::Daemon::sendPage(MHD_Connection *connection, const PageFile &file) {
    // The page's bytes live as long as the server.
    MHD_Response *response = MHD_create_response_from_buffer(file.bytes.size(), const_cast<char *>(file.bytes.data()),
                                                             MHD_RESPMEM_PERSISTENT);
    if (response == nullptr) return MHD_NO;
    return queue(connection, 200, response, file.contentType, true);
}

MHD_Result StudioServer::Daemon::queue(MHD_Connection *connection, int status, MHD_Response *response,
                                       const std::string &type, bool noStore) {
    MHD_add_response_header(response, "Content-Type", type.c_str());
    // No address of the page (with its token) leaves in a Referer, and no
    // other site may show the page in a frame.
    MHD_add_response_header(response, "Referrer-Policy", "no-referrer");
    MHD_add_response_header(response, "Content-Security-Policy", "frame-ancestors 'none'");
    MHD_add_response_header(response, "X-Frame-Options", "DENY");
    if (noStore) MHD_add_response_header(response, "Cache-Control", "no-store");
    keeper.enter(connection, Phase::answering, Clock::now());
    const MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(status), response);
    MHD_destroy_response(response);
    return queued;
}

void StudioServer::Daemon::completed(MHD_Connection *connection, void **context) {
    auto *exchange = static_cast<Exchange *>(*context);
    if (exchange != nullptr && exchange->pending) suspended.erase(exchange->pending);
    delete exchange;
    *context = nullptr;
    keeper.enter(connection, Phase::waiting, Clock::now());
}

// Shutting a socket down makes the library see its end and close it, in its
// own time and on this thread.
void StudioServer::Daemon::closeOverdue() {
    for (const void *overdue : keeper.toClose(Clock::now())) {
        auto *connection = static_cast<MHD_Connection *>(const_cast<void *>(overdue));
        const MHD_ConnectionInfo *info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
        if (info != nullptr) ::shutdown(info->connect_fd, SHUT_RDWR);
    }
}

StudioServer::StudioServer(studio::StudioModel &model, ModuleThread &moduleThread, std::map<std::string, PageFile> page,
                           std::string token)
    : token_(std::move(token)) {
    daemon_ = std::make_unique<Daemon>(model, moduleThread, std::move(page), token_);
}

StudioServer::~StudioServer() = default;

int StudioServer::bind(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Daemon &d = *daemon_;
    if (d.wake < 0) return -1;
    // No internal thread: listen() runs the loop, on the library's epoll set.
    d.daemon = MHD_start_daemon(MHD_USE_EPOLL | MHD_ALLOW_SUSPEND_RESUME, 0, nullptr, nullptr, &accessOf, &d,
                                MHD_OPTION_SOCK_ADDR, &address, MHD_OPTION_CONNECTION_MEMORY_LIMIT, kHeadMemory,
                                MHD_OPTION_CONNECTION_LIMIT, static_cast<unsigned>(2 * kConnections),
                                MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds, MHD_OPTION_NOTIFY_COMPLETED, &completedOf,
                                &d, MHD_OPTION_NOTIFY_CONNECTION, &connectionOf, &d, MHD_OPTION_STRICT_FOR_CLIENT, 1,
                                MHD_OPTION_END);
    if (d.daemon == nullptr) return -1;
    const MHD_DaemonInfo *bound = MHD_get_daemon_info(d.daemon, MHD_DAEMON_INFO_BIND_PORT);
    d.port = bound != nullptr ? bound->port : port;
    return d.port;
}

bool StudioServer::listen() {
    Daemon &d = *daemon_;
    const MHD_DaemonInfo *events = d.daemon ? MHD_get_daemon_info(d.daemon, MHD_DAEMON_INFO_EPOLL_FD) : nullptr;
    if (events == nullptr) return false;
    while (!stopping_) {
        MHD_UNSIGNED_LONG_LONG due = 0;
        int wait = kLoopMilliseconds;
        if (MHD_get_timeout(d.daemon, &due) == MHD_YES)
            wait = static_cast<int>(std::min<MHD_UNSIGNED_LONG_LONG>(due, wait));
        pollfd ready[] = {{events->epoll_fd, POLLIN, 0}, {d.wake, POLLIN, 0}};
        if (::poll(ready, 2, wait) < 0 && errno != EINTR) return false;
        uint64_t woken = 0;
        if (ready[1].revents != 0 && ::read(d.wake, &woken, sizeof woken) < 0 && errno != EAGAIN) return false;
        if (MHD_run(d.daemon) != MHD_YES) return false;
        d.closeOverdue();
    }
    return true;
}

void StudioServer::stop() {
    stopping_ = true;
    if (daemon_->wake >= 0) wakeLoop(daemon_->wake);
}

}  // namespace plof::host::http
