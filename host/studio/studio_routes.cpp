#include "host/studio/studio_routes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <regex>
#include <vector>

#include "host/base/host_error.h"
#include "host/base/number_text.h"
#include "host/files/confined_folder.h"

namespace plof::host::studio {

namespace {

// What a route reads of its request: the item number in its path, if any.
struct RouteCall {
    StudioModel &model;
    const StudioRequest &request;
    std::size_t item = 0;
};

struct Route {
    const char *method;
    std::regex path;  // whole path; a group, where there is one, is the item number
    std::function<StudioAnswer(RouteCall &)> answer;
};

// JSON text even where a name is not valid UTF-8 (such bytes become U+FFFD).
std::string jsonText(const nlohmann::ordered_json &json) {
    return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

StudioAnswer jsonAnswer(const nlohmann::ordered_json &json) { return {200, "application/json", jsonText(json)}; }

nlohmann::json bodyJson(const StudioRequest &request) {
    nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
    if (body.is_discarded()) throw BadRequest("the body is not JSON");
    return body;
}

int32_t frameParameter(const StudioRequest &request, const char *name) {
    const auto found = request.query.find(name);
    const auto frame = parseInteger(found == request.query.end() ? std::string() : found->second);
    if (!frame) throw BadRequest(std::string("\"") + name + "\" takes a whole frame number");
    return *frame;
}

const std::vector<Route> &routes() {
    static const std::vector<Route> table{
        {"GET", std::regex("/api/state"), [](RouteCall &call) { return jsonAnswer(call.model.state()); }},
        {"PUT", std::regex(R"(/api/items/(\d+)/settings)"),
         [](RouteCall &call) { return jsonAnswer(call.model.changeSettings(call.item, bodyJson(call.request))); }},
        {"GET", std::regex("/api/frames"),
         [](RouteCall &call) {
             const int32_t first = frameParameter(call.request, "from");
             const int32_t last = frameParameter(call.request, "to");
             return StudioAnswer{200, "application/octet-stream", call.model.frames(first, last)};
         }},
        {"GET", std::regex("/api/play.csv"),
         [](RouteCall &call) {
             return StudioAnswer{200, "text/csv", call.model.playCsv()};
         }},
        {"GET", std::regex(R"(/api/items/(\d+)/panel\.png)"),
         [](RouteCall &call) {
             return StudioAnswer{200, "image/png", call.model.panelPicture(call.item)};
         }},
        {"POST", std::regex("/api/save"),
         [](RouteCall &call) { return jsonAnswer(call.model.save(bodyJson(call.request))); }},
    };
    return table;
}

std::size_t itemNumber(const std::smatch &match) {
    if (match.size() < 2) return 0;
    const auto number = parseInteger(match[1].str());
    if (!number || *number < 1) throw BadRequest("no item " + match[1].str());
    return static_cast<std::size_t>(*number);
}

StudioAnswer route(StudioModel &model, const StudioRequest &request) {
    bool pathKnown = false;
    for (const Route &route : routes()) {
        std::smatch match;
        if (!std::regex_match(request.path, match, route.path)) continue;
        pathKnown = true;
        if (request.method != route.method) continue;
        RouteCall call{model, request, itemNumber(match)};
        return route.answer(call);
    }
    return pathKnown ? errorAnswer(405, request.method + " is not taken by " + request.path)
                     : errorAnswer(404, "the studio has no " + request.path);
}

}  // namespace

StudioAnswer errorAnswer(int status, const std::string &message) {
    return {status, "application/json", jsonText(nlohmann::ordered_json{{"error", message}})};
}

StudioAnswer answerRequest(StudioModel &model, const StudioRequest &request) {
    try {
        return route(model, request);
    } catch (const ExistingFile &existing) {
        return {409, "application/json",
                jsonText(nlohmann::ordered_json{{"error", existing.what()}, {"exists", existing.name()}})};
    } catch (const RequestError &bad) {
        return errorAnswer(400, bad.what());
    } catch (const std::exception &failure) {
        return errorAnswer(500, failure.what());
    } catch (...) {
        return errorAnswer(500, "unknown failure");
    }
}

}  // namespace plof::host::studio
