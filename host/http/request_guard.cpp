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

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// "Bearer TOKEN", the scheme in any case (as HTTP has it), one or more blanks after it.
bool carriesToken(std::string_view authorization, const std::string &token) {
    constexpr std::string_view scheme = "bearer";
    if (authorization.size() <= scheme.size() || !isBlank(authorization[scheme.size()])) return false;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        if ((authorization[i] | 0x20) != scheme[i]) return false;
    }
    authorization.remove_prefix(scheme.size());
    while (!authorization.empty() && isBlank(authorization.front())) authorization.remove_prefix(1);
    return sameToken(authorization, token);
}

}  // namespace

std::string refusalReason(const RequestFacts &request, const std::string &token, int port) {
    const std::string suffix = ":" + std::to_string(port);
    if (request.host != "127.0.0.1" + suffix && request.host != "localhost" + suffix) {
        return "the Host header must be 127.0.0.1" + suffix + " or localhost" + suffix;
    }
    if (!request.origin.empty() && request.origin != "http://127.0.0.1" + suffix &&
        request.origin != "http://localhost" + suffix) {
        return "requests from another site (Origin " + request.origin + ") are refused";
    }
    if (request.path.starts_with("/api/") && !carriesToken(request.authorization, token)) {
        return "no valid token: requests of the interface carry \"Authorization: Bearer TOKEN\", the token of the "
               "address plof-host studio printed (open that address for the page)";
    }
    return "";
}

}  // namespace plof::host::http
