#include "host/scene/motion_text.h"

#include <algorithm>
#include <optional>

#include "host/base/number_text.h"

namespace plof::host {

namespace {

// Three comma-separated numbers.
std::optional<Vec3> parseTriple(std::string_view text) {
    Vec3 out;
    for (int c = 0; c < 3; ++c) {
        const auto comma = text.find(',');
        if ((c < 2) == (comma == std::string_view::npos)) return std::nullopt;
        const auto value = parseNumber(text.substr(0, comma));
        if (!value) return std::nullopt;
        out[c] = *value;
        text = c < 2 ? text.substr(comma + 1) : std::string_view{};
    }
    return out;
}

std::optional<MotionKey> parseKey(std::string_view key) {
    const auto colon = key.find(':');
    const auto secondColon = colon == std::string_view::npos ? colon : key.find(':', colon + 1);
    const auto frame = parseInteger(key.substr(0, colon));
    const auto position =
        colon == std::string_view::npos ? std::nullopt : parseTriple(key.substr(colon + 1, secondColon - colon - 1));
    const auto rotation =
        secondColon == std::string_view::npos ? std::optional<Vec3>(Vec3{}) : parseTriple(key.substr(secondColon + 1));
    if (!frame || !position || !rotation) return std::nullopt;
    MotionKey motionKey;
    motionKey.frame = *frame;
    motionKey.linear = 1;
    for (int c = 0; c < 3; ++c) {
        motionKey.values[kX + c] = (*position)[c];
        motionKey.values[kHeading + c] = (*rotation)[c];
    }
    return motionKey;
}

}  // namespace

MotionText readMotionText(std::string_view text) {
    MotionText read;
    std::string_view rest = text;
    while (!rest.empty()) {
        const auto semicolon = std::min(rest.find(';'), rest.size());
        const std::string_view key = rest.substr(0, semicolon);
        rest.remove_prefix(std::min(semicolon + 1, rest.size()));
        const auto parsed = parseKey(key);
        if (!parsed) {
            read.problem = MotionText::Problem::BadKey;
            read.detail = key;
            return read;
        }
        read.keys.push_back(*parsed);
    }
    if (read.keys.empty()) {
        read.problem = MotionText::Problem::NoKeys;
        return read;
    }
    sortKeys(read.keys);
    read.detail = channelOverflow(read.keys, kMotionChannelNames);
    if (!read.detail.empty()) read.problem = MotionText::Problem::Overflow;
    return read;
}

std::string motionText(std::span<const MotionKey> keys) {
    std::string text;
    for (const MotionKey &key : keys) {
        if (!text.empty()) text += ';';
        text += std::to_string(key.frame) + ':';
        for (int c = kX; c <= kBank; ++c) {
            text += shortestText(key.values[c]) + (c == kZ ? ":" : c == kBank ? "" : ",");
        }
    }
    return text;
}

}  // namespace plof::host
