#include "host/studio/session_text.h"

#include <nlohmann/json.hpp>

#include "host/base/host_error.h"

namespace plof::host::studio {

namespace {

using Json = nlohmann::json;

// The text's first member names what it is and its form, so that a text of
// another form is refused rather than misread.
constexpr const char *kFormKey = "plofStudioSession";
constexpr int kForm = 1;

Json keyJson(const MotionKey &key) {
    return {{"values", key.values},   {"frame", key.frame},           {"linear", key.linear},
            {"tension", key.tension}, {"continuity", key.continuity}, {"bias", key.bias}};
}

MotionKey keyOf(const Json &json) {
    MotionKey key;
    key.values = json.at("values").get<decltype(key.values)>();
    key.frame = json.at("frame").get<int32_t>();
    key.linear = json.at("linear").get<int32_t>();
    key.tension = json.at("tension").get<double>();
    key.continuity = json.at("continuity").get<double>();
    key.bias = json.at("bias").get<double>();
    return key;
}

Json documentJson(const StudioDocument &document) {
    Json items = Json::array();
    for (const StudioItemEdit &item : document.items) {
        Json motion = Json::array();
        for (const MotionKey &key : item.motion) motion.push_back(keyJson(key));
        items.push_back({{"name", item.name},
                         {"object", item.object},
                         {"objectFile", item.objectFile},
                         {"motion", std::move(motion)},
                         {"effectLines", item.effectLines}});
    }
    return {
        {"items", std::move(items)}, {"frames", {document.frames.first, document.frames.last}}, {"fps", document.fps}};
}

StudioDocument documentOf(const Json &json, std::size_t itemCount) {
    StudioDocument document;
    const Json &items = json.at("items");
    if (items.size() != itemCount) {
        throw InputError("a document of " + std::to_string(items.size()) + " items, where the scene has " +
                         std::to_string(itemCount));
    }
    for (const Json &item : items) {
        StudioItemEdit edit{item.at("name").get<std::string>(),
                            item.at("object").get<std::string>(),
                            item.at("objectFile").get<std::string>(),
                            {},
                            item.at("effectLines").get<std::vector<std::string>>()};
        for (const Json &key : item.at("motion")) edit.motion.push_back(keyOf(key));
        document.items.push_back(std::move(edit));
    }
    document.frames = {json.at("frames").at(0).get<int32_t>(), json.at("frames").at(1).get<int32_t>()};
    document.fps = json.at("fps").get<double>();
    return document;
}

}  // namespace

std::string sessionText(const SessionDocuments &documents) {
    Json steps = Json::array();
    for (const StudioDocument &step : documents.history.steps()) steps.push_back(documentJson(step));
    const Json text{{kFormKey, kForm},
                    {"start", documentJson(documents.history.start())},
                    {"steps", std::move(steps)},
                    {"at", documents.history.at()},
                    {"saved", documentJson(documents.saved)},
                    {"revision", documents.revision}};
    // JSON text is UTF-8: a name in another code page (a scene's object
    // named with byte 0xFC) comes back with U+FFFD in place of such bytes.
    return text.dump(-1, ' ', false, Json::error_handler_t::replace);
}

SessionDocuments readSessionText(const std::string &text, std::size_t itemCount) {
    const Json json = Json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object() || json.value(kFormKey, 0) != kForm) {
        throw InputError("the studio's saved session is not one this program wrote (no \"" + std::string(kFormKey) +
                         "\": " + std::to_string(kForm) + ")");
    }
    try {
        std::vector<StudioDocument> steps;
        for (const Json &step : json.at("steps")) steps.push_back(documentOf(step, itemCount));
        return {
            StudioHistory(documentOf(json.at("start"), itemCount), std::move(steps), json.at("at").get<std::size_t>()),
            documentOf(json.at("saved"), itemCount), json.at("revision").get<uint64_t>()};
    } catch (const InputError &wrong) {
        throw InputError(std::string("the studio's saved session does not fit its scene: ") + wrong.what());
    } catch (const std::exception &wrong) {
        throw InputError(std::string("the studio's saved session is damaged: ") + wrong.what());
    }
}

}  // namespace plof::host::studio
