#include "host/base/quoted_text.h"

namespace plof::host {

namespace {

void appendEscaped(std::string &out, unsigned char byte) {
    switch (byte) {
        case '\n': out += "\\n"; return;
        case '\r': out += "\\r"; return;
        case '\t': out += "\\t"; return;
        default: break;
    }
    constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

bool isControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

bool isUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::string escapedBytes(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (isControl(byte) || byte >= 0x80) {
            appendEscaped(out, byte);
        } else {
            out += c;
        }
    }
    return out;
}

std::string lineExcerpt(std::string_view line, std::size_t limit) {
    std::size_t end = line.size();
    if (end > limit) {
        end = limit;
        while (end > 0 && isUtf8Continuation(static_cast<unsigned char>(line[end]))) --end;
    }
    std::string out;
    for (const char c : line.substr(0, end)) {
        const auto byte = static_cast<unsigned char>(c);
        if (isControl(byte)) {
            appendEscaped(out, byte);
        } else {
            out += c;
        }
    }
    if (end < line.size()) out += "...";
    return out;
}

std::string quotedText(std::string_view text, std::size_t limit) { return "\"" + lineExcerpt(text, limit) + "\""; }

}  // namespace plof::host
