#include "host/script/bake_values.h"

#include <array>
#include <cstdint>
#include <vector>

#include "host/base/file_extension.h"
#include "host/base/number_text.h"

namespace plof::host {

namespace {

std::vector<std::string> splitCommas(const std::string &text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) return parts;
        start = comma + 1;
    }
}

// --frames: a count N (frames 0 .. N-1), or the range 0..B (B + 1 frames).
bool readFrameCount(const std::string &value, int32_t &frames, std::string &problem) {
    const std::string forms = "--frames takes a whole number N (frames 0 .. N-1) or 0..B (frames 0 to B)";
    if (const auto count = parseInteger(value)) {
        // The panel bakes nothing below one frame but still writes a scene.
        if (*count < 1) {
            problem = "--frames " + value + ": a bake needs at least 1 frame";
            return false;
        }
        frames = *count;
        return true;
    }
    const auto range = parseIntegerRange(value);
    if (!range) {
        problem = forms + ", not \"" + value + "\"";
        return false;
    }
    if (range->first != 0) {
        problem = "--frames " + value + ": a bake always starts at frame 0; write 0.." + std::to_string(range->last) +
                  ", or the number of frames";
        return false;
    }
    if (range->last < 0 || range->last == INT32_MAX) {
        problem = forms + ", with B from 0 to " + std::to_string(INT32_MAX - 1) + ", not \"" + value + "\"";
        return false;
    }
    frames = range->last + 1;
    return true;
}

}  // namespace

bool readBakeFlagValue(const std::string &flag, const std::string &value, BakeRequest &request, std::string &problem) {
    if (flag == "--frames") return readFrameCount(value, request.frames, problem);
    if (flag == "--step") {
        const auto number = parseInteger(value);
        // A step below 1 would never advance the baking loop.
        if (number && *number < 1) {
            problem = "--step must be 1 or more, not " + value;
            return false;
        }
        if (!number) {
            problem = "--step takes a whole number, not \"" + value + "\"";
            return false;
        }
        request.step = *number;
        return true;
    }
    if (flag == "--hpb-min" || flag == "--hpb-max") {
        const std::vector<std::string> parts = splitCommas(value);
        std::array<double, 3> numbers{};
        bool good = parts.size() == 3;
        for (std::size_t i = 0; good && i < 3; ++i) {
            const auto number = parseNumber(parts[i]);
            good = number.has_value();
            if (good) numbers[i] = *number;
        }
        if (!good) {
            problem = flag + " takes three numbers h,p,b (degrees per second), not \"" + value + "\"";
            return false;
        }
        (flag == "--hpb-min" ? request.hpbMin : request.hpbMax) = numbers;
        return true;
    }
    if (flag == "--objects") {
        for (const std::string &path : splitCommas(value)) {
            if (!hasModuleExtension(path, ".lwo")) {
                problem = "--objects: \"" + path + "\" is not an object file ending in .lwo";
                return false;
            }
            if (path.size() > kBakePathLimit) {
                problem = "--objects: \"" + path + "\" is longer than " + std::to_string(kBakePathLimit) +
                          " characters, more than the object list holds";
                return false;
            }
            request.objects.push_back(path);
        }
        return true;
    }
    if (flag == "--out") {
        if (value.empty() || value.size() > kBakePathLimit) {
            problem = "--out needs a scene file path of 1 to " + std::to_string(kBakePathLimit) + " characters";
            return false;
        }
        request.out = value;
        return true;
    }
    problem = "unknown bake flag " + flag;
    return false;
}

bool checkBakeRequest(const BakeRequest &request, std::string &problem) {
    if (request.out.empty()) {
        problem = "missing --out FILE.lws: the scene file to write";
        return false;
    }
    return true;
}

}  // namespace plof::host
