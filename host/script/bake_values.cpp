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

// A count N (frames 0 .. N-1), or the range 0..B (B + 1 frames).
bool readFrameCount(const std::string &name, const std::string &value, int32_t &frames, std::string &problem) {
    const std::string forms = name + " takes a whole number N (frames 0 .. N-1) or 0..B (frames 0 to B)";
    if (const auto count = parseInteger(value)) {
        // The panel bakes nothing below one frame but still writes a scene.
        if (*count < 1) {
            problem = name + " " + value + ": a bake needs at least 1 frame";
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
        problem = name + " " + value + ": a bake always starts at frame 0; write 0.." + std::to_string(range->last) +
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

// A step below 1 would never advance the baking loop.
bool readStep(const std::string &name, const std::string &text, int32_t &step, std::string &problem) {
    const auto number = parseInteger(text);
    if (number && *number < 1) {
        problem = name + " must be 1 or more, not " + text;
        return false;
    }
    if (!number) {
        problem = name + " takes a whole number, not \"" + text + "\"";
        return false;
    }
    step = *number;
    return true;
}

bool readSpin(const std::string &name, const std::string &text, std::array<double, 3> &spin, std::string &problem) {
    const std::vector<std::string> parts = splitCommas(text);
    std::array<double, 3> numbers{};
    bool good = parts.size() == 3;
    for (std::size_t i = 0; good && i < 3; ++i) {
        const auto number = parseNumber(parts[i]);
        good = number.has_value();
        if (good) numbers[i] = *number;
    }
    if (!good) {
        problem = name + " takes three numbers h,p,b (degrees per second), not \"" + text + "\"";
        return false;
    }
    spin = numbers;
    return true;
}

bool readObjects(const std::string &name, const std::string &text, std::vector<std::string> &objects,
                 std::string &problem) {
    for (const std::string &path : splitCommas(text)) {
        if (!hasModuleExtension(path, ".lwo")) {
            problem = name + ": \"" + path + "\" is not an object file ending in .lwo";
            return false;
        }
        if (path.size() > kBakePathLimit) {
            problem = name + ": \"" + path + "\" is longer than " + std::to_string(kBakePathLimit) +
                      " characters, more than the object list holds";
            return false;
        }
        objects.push_back(path);
    }
    return true;
}

}  // namespace

bool readBakeValue(BakeValue value, const std::string &name, const std::string &text, BakeRequest &request,
                   std::string &problem) {
    switch (value) {
        case BakeValue::Frames: return readFrameCount(name, text, request.frames, problem);
        case BakeValue::Step: return readStep(name, text, request.step, problem);
        case BakeValue::HpbMin: return readSpin(name, text, request.hpbMin, problem);
        case BakeValue::HpbMax: return readSpin(name, text, request.hpbMax, problem);
        case BakeValue::Objects: return readObjects(name, text, request.objects, problem);
        case BakeValue::Out:
            if (text.empty() || text.size() > kBakePathLimit) {
                problem = name + " needs a scene file path of 1 to " + std::to_string(kBakePathLimit) + " characters";
                return false;
            }
            request.out = text;
            return true;
    }
    return false;
}

bool checkBakeRequest(const BakeRequest &request, const std::string &outName, std::string &problem) {
    if (request.out.empty()) {
        problem = "missing " + outName + " FILE.lws: the scene file to write";
        return false;
    }
    return true;
}

}  // namespace plof::host
