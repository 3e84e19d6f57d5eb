// Who may drive the studio's local server. Every request must name the
// server itself in its Host header (127.0.0.1:PORT or localhost:PORT, so
// that a name rebound to the loopback address elsewhere gets nothing) and
// come from no other site (an Origin header, when there is one, of the same
// address). A request of the interface (a path under /api/) must also carry
// the token (host/base/random_token.h) printed in the studio's address as
// "Authorization: Bearer TOKEN": never in a cookie, which every server on
// 127.0.0.1 would receive, whatever its port. The page and its script hold
// nothing of the user's and need no token. HTTP-free: the server hands in
// what it read.
#pragma once

#include <string>

namespace plof::host::http {

// What the guard reads of a request; "" for a header that is absent.
struct RequestFacts {
    std::string path;           // the path, without the query
    std::string host;           // the Host header
    std::string origin;         // the Origin header
    std::string authorization;  // the Authorization header
};

// "" when `request` may be served by the server on 127.0.0.1:`port` whose
// token is `token`; else the reason to refuse it (403), for the answer.
std::string refusalReason(const RequestFacts &request, const std::string &token, int port);

}  // namespace plof::host::http
