// Base64 (RFC 4648, with padding) of a stream of bytes that arrive in pieces.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace plof::host {

class Base64Encoder {
public:
    // `sink` receives the text in pieces; it must outlive the encoder.
    explicit Base64Encoder(const std::function<void(std::string_view)> &sink) : sink_(sink) {}

    void add(std::string_view bytes);

    // Encodes what is left (with '=' padding) and hands the rest to the sink.
    void finish();

private:
    void flush();

    const std::function<void(std::string_view)> &sink_;
    unsigned char carry_[3] = {};
    int carried_ = 0;
    std::string text_;
};

}  // namespace plof::host
