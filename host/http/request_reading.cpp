#include "host/http/request_reading.h"

#include <algorithm>

#include "host/http/request_guard.h"

namespace plof::host::http {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
    }
    return true;
}

std::size_t countOf(const RequestHead &head, std::string_view name) {
    std::size_t count = 0;
    for (const auto &[header, value] : head.headers) count += sameName(header, name) ? 1 : 0;
    return count;
}

const std::string kLimitText = std::to_string(kBodyLimit / 1024) + " KiB";

std::optional<Refusal> refuseBodyHeaders(const RequestHead &head) {
    const std::string encoding = headerValue(head, "Content-Encoding");
    if (!encoding.empty() && !sameName(encoding, "identity")) {
        return Refusal{415, "the studio takes a body as sent, not encoded (Content-Encoding " + encoding + ")"};
    }
    const std::string transfer = headerValue(head, "Transfer-Encoding");
    if (!transfer.empty() && !sameName(transfer, "chunked")) {
        return Refusal{400, "the studio takes a body as sent or chunked, not " + transfer};
    }
    const std::string length = headerValue(head, "Content-Length");
    if (length.empty()) return std::nullopt;
    if (!transfer.empty()) return Refusal{400, "a body is sent with Content-Length or chunked, not both"};
    if (length.find_first_not_of("0123456789") != std::string::npos) {
        return Refusal{400, "Content-Length " + length + " is no byte count"};
    }
    // Digits beyond the limit's own are a body above it, however many there are.
    const std::string limit = std::to_string(kBodyLimit);
    const std::size_t digits = length.size() - std::min(length.find_first_not_of('0'), length.size());
    if (digits > limit.size() || (digits == limit.size() && length.substr(length.size() - digits) > limit)) {
        return Refusal{413, "a body above " + kLimitText + " is refused"};
    }
    return std::nullopt;
}

}  // namespace

std::string headerValue(const RequestHead &head, std::string_view name) {
    for (const auto &[header, value] : head.headers) {
        if (sameName(header, name)) return value;
    }
    return "";
}

std::optional<Refusal> refuseHead(const RequestHead &head, const std::string &token, int port) {
    for (const char *single :
         {"Host", "Origin", "Authorization", "Content-Length", "Content-Encoding", "Range", "Transfer-Encoding"}) {
        if (countOf(head, single) > 1) return Refusal{400, std::string("one ") + single + " header at most"};
    }
    const std::string reason = refusalReason(
        {head.path, headerValue(head, "Host"), headerValue(head, "Origin"), headerValue(head, "Authorization")}, token,
        port);
    if (!reason.empty()) return Refusal{403, reason};
    if (countOf(head, "Range") > 0) {
        return Refusal{416, "the studio answers whole files only; send no Range header"};
    }
    return refuseBodyHeaders(head);
}

void BodyReader::add(std::string_view bytes) {
    received_ += bytes.size();
    if (body_.size() < kBodyLimit) body_.append(bytes.substr(0, kBodyLimit - body_.size()));
}

std::optional<Refusal> BodyReader::refusal() const {
    if (received_ <= kBodyLimit) return std::nullopt;
    return Refusal{413, "a body above " + kLimitText + " is refused"};
}

}  // namespace plof::host::http
