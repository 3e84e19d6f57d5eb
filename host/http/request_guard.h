// Who may drive the studio's local server: a request must carry the token
// (host/base/random_token.h) printed in the studio's address (as the "token" query parameter, as
// "Authorization: Bearer TOKEN", or as the cookie the first page load sets),
// name the server itself in its Host header (127.0.0.1:PORT or
// localhost:PORT, so that a name rebound to the loopback address elsewhere
// gets nothing), and come from no other site (an Origin header, when there
// is one, of the same address). HTTP-free: the server hands in the headers.
#pragma once

#include <string>

namespace plof::host::http {

// What the guard reads of a request; "" for a header that is absent.
struct RequestFacts {
    std::string host;           // the Host header
    std::string origin;         // the Origin header
    std::string queryToken;     // the "token" query parameter
    std::string authorization;  // the Authorization header
    std::string cookie;         // the Cookie header
};

// The cookie's name, and the Set-Cookie value that keeps `token` for the page.
inline constexpr const char *kTokenCookie = "plof_studio_token";
std::string tokenCookieHeader(const std::string &token);

// "" when `request` may be served by the server on 127.0.0.1:`port` whose
// token is `token`; else the reason to refuse it (403), for the answer.
std::string refusalReason(const RequestFacts &request, const std::string &token, int port);

}  // namespace plof::host::http
