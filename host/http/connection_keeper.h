// What the studio's server keeps of each open connection, and which ones to
// close, so that a slow, idle or endless client costs one connection and
// never the server: each phase of a connection has its deadline (the head
// of a request, idle or trickling in; its body; sending the answer), and
// when more connections are open than the bound, the one that has waited
// longest for a request is closed first. Work on the module's thread has no
// deadline: the server waits for it, not the client. Free of any HTTP
// library: the server names connections by any pointer and tells the time.
#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <vector>

namespace plof::host::http {

// The connections open at once before the longest waiting is closed.
inline constexpr std::size_t kConnections = 64;

class ConnectionKeeper {
public:
    using Clock = std::chrono::steady_clock;

    enum class Phase {
        waiting,    // for a request's head: idle between requests, or its head coming in
        reading,    // its body
        working,    // the answer being made (no deadline)
        answering,  // the answer being sent
    };

    struct Limits {
        std::size_t connections = kConnections;  // open at once, not counting those being closed
        Clock::duration head = std::chrono::seconds(10);
        Clock::duration body = std::chrono::seconds(10);
        Clock::duration answer = std::chrono::seconds(60);
    };

    explicit ConnectionKeeper(Limits limits) : limits_(limits) {}

    // A connection opened, waiting for its first request.
    void opened(const void *connection, Clock::time_point now);
    void closed(const void *connection);
    // The connection entered `phase` now; its deadline starts again.
    void enter(const void *connection, Phase phase, Clock::time_point now);

    // The connections to close now, each returned once: those past their
    // phase's deadline, then the longest waiting while more than the bound
    // are open.
    std::vector<const void *> toClose(Clock::time_point now);

    // Open connections, not counting those returned by toClose.
    std::size_t open() const;

private:
    struct Kept {
        Phase phase = Phase::waiting;
        Clock::time_point since;
        bool closing = false;
    };
    Clock::duration allowed(Phase phase) const;

    Limits limits_;
    std::map<const void *, Kept> kept_;
};

}  // namespace plof::host::http
