#include "host/gltf/base64_encoder.h"

namespace plof::host {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// Text handed on at a time: big enough that the sink's per-call cost is small.
constexpr std::size_t kPieceBytes = 1 << 16;

void encode(const unsigned char (&group)[3], int count, std::string &text) {
    const unsigned value = (unsigned{group[0]} << 16) | (unsigned{group[1]} << 8) | unsigned{group[2]};
    for (int i = 0; i < 4; ++i) {
        text += i <= count ? kAlphabet[(value >> (18 - 6 * i)) & 63] : '=';
    }
}

}  // namespace

void Base64Encoder::add(std::string_view bytes) {
    for (const char byte : bytes) {
        carry_[carried_++] = static_cast<unsigned char>(byte);
        if (carried_ < 3) continue;
        encode(carry_, 3, text_);
        carried_ = 0;
        if (text_.size() >= kPieceBytes) flush();
    }
}

void Base64Encoder::finish() {
    if (carried_ > 0) {
        for (int i = carried_; i < 3; ++i) carry_[i] = 0;
        encode(carry_, carried_, text_);
        carried_ = 0;
    }
    flush();
}

void Base64Encoder::flush() {
    if (!text_.empty()) sink_(text_);
    text_.clear();
}

}  // namespace plof::host
