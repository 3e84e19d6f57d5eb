#include "host/http/request_guard.h"

#include <string_view>

namespace plof::host::http {

namespace {

// Compares without stopping at the first difference, so that the time taken
// tells nothing about how much of a guessed token was right.
bool sameToken(std::string_view given, std::string_view token) {
    if (given.size() != token.size()) return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < token.size(); ++i) {
        difference |= static_cast<unsigned char>(given[i] ^ token[i]);
    }
    return difference == 0;
}

// The value of cookie `name` in a Cookie header ("a=1; b=2"), "" when absent.
std::string cookieValue(std::string_view header, std::string_view name) {
    while (!header.empty()) {
        const auto end = header.find(';');
        std::string_view pair = header.substr(0, end);
        while (!pair.empty() && pair.front() == ' ') pair.remove_prefix(1);
        if (pair.size() > name.size() && pair.substr(0, name.size()) == name && pair[name.size()] == '=') {
            return std::string(pair.substr(name.size() + 1));
        }
        if (end == std::string_view::npos) break;
        header.remove_prefix(end + 1);
    }
    return "";
}

bool carriesToken(const RequestFacts &request, const std::string &token) {
    constexpr std::string_view bearer = "Bearer ";
    const std::string_view authorization = request.authorization;
    return sameToken(request.queryToken, token) ||
           (authorization.substr(0, bearer.size()) == bearer &&
            sameToken(authorization.substr(bearer.size()), token)) ||
           sameToken(cookieValue(request.cookie, kTokenCookie), token);
}

}  // namespace

std::string tokenCookieHeader(const std::string &token) {
    return std::string(kTokenCookie) + "=" + token + "; Path=/; HttpOnly; SameSite=Strict";
}

std::string refusalReason(const RequestFacts &request, const std::string &token, int port) {
    const std::string suffix = ":" + std::to_string(port);
    if (request.host != "127.0.0.1" + suffix && request.host != "localhost" + suffix) {
        return "the Host header must be 127.0.0.1" + suffix + " or localhost" + suffix;
    }
    if (!request.origin.empty() && request.origin != "http://127.0.0.1" + suffix &&
        request.origin != "http://localhost" + suffix) {
        return "requests from another site (Origin " + request.origin + ") are refused";
    }
    if (!carriesToken(request, token)) {
        return "no valid token: open the address plof-host studio printed (with ?token=...)";
    }
    return "";
}

}  // namespace plof::host::http
