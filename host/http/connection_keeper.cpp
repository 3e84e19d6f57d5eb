#include "host/http/connection_keeper.h"

namespace plof::host::http {

void ConnectionKeeper::opened(const void *connection, Clock::time_point now) {
    kept_[connection] = {Phase::waiting, now, false};
}

void ConnectionKeeper::closed(const void *connection) { kept_.erase(connection); }

void ConnectionKeeper::enter(const void *connection, Phase phase, Clock::time_point now) {
    const auto found = kept_.find(connection);
    if (found == kept_.end()) return;
    found->second.phase = phase;
    found->second.since = now;
}

ConnectionKeeper::Clock::duration ConnectionKeeper::allowed(Phase phase) const {
    switch (phase) {
        case Phase::waiting: return limits_.head;
        case Phase::reading: return limits_.body;
        case Phase::answering: return limits_.answer;
        case Phase::working: break;
    }
    return Clock::duration::max();
}

std::vector<const void *> ConnectionKeeper::toClose(Clock::time_point now) {
    std::vector<const void *> closing;
    for (auto &[connection, kept] : kept_) {
        if (kept.closing || kept.phase == Phase::working || now - kept.since <= allowed(kept.phase)) continue;
        kept.closing = true;
        closing.push_back(connection);
    }
    for (std::size_t open = this->open(); open > limits_.connections; --open) {
        Kept *longest = nullptr;
        const void *which = nullptr;
        for (auto &[connection, kept] : kept_) {
            if (kept.closing || kept.phase != Phase::waiting) continue;
            if (longest == nullptr || kept.since < longest->since) longest = &kept, which = connection;
        }
        if (longest == nullptr) break;  // every one is busy: the server's own bound holds the rest
        longest->closing = true;
        closing.push_back(which);
    }
    return closing;
}

std::size_t ConnectionKeeper::open() const {
    std::size_t open = 0;
    for (const auto &[connection, kept] : kept_) open += kept.closing ? 0 : 1;
    return open;
}

}  // namespace plof::host::http
