#include "emitter_flags.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "host/base/number_text.h"

namespace plof::tools {

using namespace plof::host;

namespace {

// Three comma-separated numbers.
std::optional<Vec3> parseTriple(std::string_view text) {
    Vec3 out;
    for (int c = 0; c < 3; ++c) {
        const auto comma = text.find(',');
        if ((c < 2) == (comma == std::string_view::npos)) {
            return std::nullopt;
        }
        const auto value = parseNumber(text.substr(0, comma));
        if (!value) {
            return std::nullopt;
        }
        out[c] = *value;
        text = c < 2 ? text.substr(comma + 1) : std::string_view{};
    }
    return out;
}

}  // namespace

// "f:x,y,z:h,p,b;..." (the rotation part may be left out): keys joined by straight lines.
std::vector<MotionKey> parseMotion(const std::string &text) {
    const std::string form = "--motion needs keys \"f:x,y,z:h,p,b;f:x,y,z:h,p,b\"";
    std::vector<MotionKey> keys;
    std::string_view rest = text;
    while (!rest.empty()) {
        const auto semicolon = std::min(rest.find(';'), rest.size());
        const std::string_view key = rest.substr(0, semicolon);
        rest.remove_prefix(std::min(semicolon + 1, rest.size()));
        const auto colon = key.find(':');
        const auto secondColon = colon == std::string_view::npos ? colon : key.find(':', colon + 1);
        const auto frame = parseInteger(key.substr(0, colon));
        const auto position = colon == std::string_view::npos
                                  ? std::nullopt
                                  : parseTriple(key.substr(colon + 1, secondColon - colon - 1));
        const auto rotation = secondColon == std::string_view::npos ? std::optional<Vec3>(Vec3{})
                                                                    : parseTriple(key.substr(secondColon + 1));
        if (!frame || !position || !rotation) {
            throw UsageError(form + ", got \"" + std::string(key) + "\"");
        }
        MotionKey motionKey;
        motionKey.frame = *frame;
        motionKey.linear = 1;
        for (int c = 0; c < 3; ++c) {
            motionKey.values[kX + c] = (*position)[c];
            motionKey.values[kHeading + c] = (*rotation)[c];
        }
        keys.push_back(motionKey);
    }
    if (keys.empty()) {
        throw UsageError(form);
    }
    sortKeys(keys);
    if (const std::string overflow = channelOverflow(keys, kMotionChannelNames); !overflow.empty()) {
        throw UsageError("--motion: " + overflow);
    }
    return keys;
}

Emitter readEmitter(const ParsedArguments &arguments, bool loadDefaults) {
    Emitter emitter;
    emitter.loadDefaults = loadDefaults;
    emitter.settingsFile = arguments.value("--settings");
    if (!emitter.settingsFile) {
        std::fprintf(stderr,
                     "plof-host: no --settings: the effect starts from its own defaults, as a new instance does "
                     "(docs/settings.md)\n");
    }
    emitter.object = *arguments.value("--object");
    if (const auto seedText = arguments.value(kShufflePointsFlag.name)) {
        const auto seed = parseInteger(*seedText);
        if (!seed || *seed < 0) {
            throw UsageError(std::string(kShufflePointsFlag.name) + " needs a whole number >= 0, got \"" + *seedText +
                             "\"");
        }
        emitter.pointShuffle = static_cast<uint64_t>(*seed);
    }
    if (const auto motion = arguments.value("--motion")) emitter.motion = parseMotion(*motion);
    return emitter;
}

}  // namespace plof::tools
