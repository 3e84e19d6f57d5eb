// How the studio's server reads a request, free of any HTTP library: the
// head is judged as soon as it is complete, before a byte of the body is
// read, and the body is counted as it arrives (after the chunked transfer
// coding is taken off, the only decoding the server does), so that nothing a
// header promises is trusted and nothing past the limit is kept.
//
// Refused at the head: what request_guard.h refuses (403); a Host, Origin,
// Authorization, Content-Length, Content-Encoding or Range header given
// twice (400); a Content-Encoding other than "identity" (415: bodies are
// taken as sent, never inflated); a Range (416: answers are whole, never
// parts); a transfer coding other than chunked (400); a Content-Length above
// kBodyLimit (413). Refused at the end of the body: one that passed
// kBodyLimit (413).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plof::host::http {

inline constexpr std::size_t kBodyLimit = 64 * 1024;

// A request's head as the server read it: the header names in any case.
struct RequestHead {
    std::string method;
    std::string path;  // without the query
    std::vector<std::pair<std::string, std::string>> headers;
};

// A status (4xx) and the reason, for the answer.
struct Refusal {
    int status = 400;
    std::string reason;
};

// Why the request of `head` is refused before its body, for the server on
// 127.0.0.1:`port` whose token is `token`; nothing when it is taken.
std::optional<Refusal> refuseHead(const RequestHead &head, const std::string &token, int port);

// The value of header `name` (any case) in `head`, "" when absent.
std::string headerValue(const RequestHead &head, std::string_view name);

// A body as it arrives: the bytes up to kBodyLimit are kept, the rest only
// counted.
class BodyReader {
public:
    void add(std::string_view bytes);
    // 413 once more than kBodyLimit bytes came; nothing otherwise.
    std::optional<Refusal> refusal() const;
    std::size_t received() const { return received_; }
    std::string &body() { return body_; }

private:
    std::string body_;
    std::size_t received_ = 0;
};

}  // namespace plof::host::http
