#include "host/studio/scene_requests.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "host/base/number_text.h"
#include "host/scene/motion_text.h"
#include "host/studio/studio_model.h"

namespace plof::host::studio {

namespace {

// The request's members, none but `allowed`.
void onlyMembers(const nlohmann::json &request, std::initializer_list<const char *> allowed, const std::string &form) {
    if (!request.is_object()) throw BadRequest("the body must be a JSON object " + form);
    for (const auto &member : request.items()) {
        const std::string &name = member.key();
        if (std::none_of(allowed.begin(), allowed.end(), [&name](const char *known) { return name == known; })) {
            throw BadRequest("\"" + name + "\" is not taken here; the body is " + form, name);
        }
    }
}

int32_t wholeFrame(const nlohmann::json &value, const char *field, const char *label) {
    if (!value.is_number_integer() || value.get<int64_t>() < std::numeric_limits<int32_t>::min() ||
        value.get<int64_t>() > std::numeric_limits<int32_t>::max()) {
        throw BadRequest(std::string(label) + " takes a whole frame number", field);
    }
    return static_cast<int32_t>(value.get<int64_t>());
}

}  // namespace

std::string objectRequest(const nlohmann::json &request) {
    onlyMembers(request, {"object"}, "{\"object\": name}");
    if (!request.contains("object") || !request["object"].is_string()) {
        throw BadRequest("Object takes the name of a built-in shape or of an object file", "object");
    }
    return request["object"].get<std::string>();
}

std::vector<MotionKey> motionRequest(const nlohmann::json &request) {
    onlyMembers(request, {"keys"}, "{\"keys\": \"" + std::string(kMotionTextForm) + "\"}");
    if (!request.contains("keys") || !request["keys"].is_string()) {
        throw BadRequest("Motion keys take text, frame:x,y,z:h,p,b for each key, keys apart by \";\"", "keys");
    }
    const std::string text = request["keys"].get<std::string>();
    if (text.empty()) return {};
    MotionText read = readMotionText(text);
    switch (read.problem) {
        case MotionText::Problem::None: return std::move(read.keys);
        case MotionText::Problem::NoKeys:
        case MotionText::Problem::BadKey:
            throw BadRequest("Motion keys: \"" + read.detail +
                                 "\" is no key; write frame:x,y,z:h,p,b (a whole frame, then numbers with a "
                                 "decimal point; heading, pitch and bank in degrees may be left out)",
                             "keys");
        case MotionText::Problem::Overflow: throw BadRequest("Motion keys: " + read.detail, "keys");
    }
    return {};
}

void rangeRequest(const nlohmann::json &request, FrameRange &frames, double &fps) {
    onlyMembers(request, {"from", "to", "fps"}, "{\"from\": A, \"to\": B, \"fps\": N}");
    FrameRange asked = frames;
    if (request.contains("from")) asked.first = wholeFrame(request["from"], "from", "First frame");
    if (request.contains("to")) asked.last = wholeFrame(request["to"], "to", "Last frame");
    if (asked.last < asked.first) {
        throw BadRequest("Last frame " + std::to_string(asked.last) + " is before the first frame " +
                             std::to_string(asked.first) + "; make it at least " + std::to_string(asked.first),
                         request.contains("to") ? "to" : "from");
    }
    double rate = fps;
    if (request.contains("fps")) {
        const nlohmann::json &given = request["fps"];
        rate = given.is_number() ? given.get<double>() : std::numeric_limits<double>::quiet_NaN();
        if (!(rate >= kLowestFrameRate && rate <= kHighestFrameRate)) {
            throw BadRequest(
                "Frames per second takes " + shortestText(kLowestFrameRate) + " to " + shortestText(kHighestFrameRate),
                "fps");
        }
    }
    frames = asked;
    fps = rate;
}

}  // namespace plof::host::studio
