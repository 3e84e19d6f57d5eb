#include "host/studio/studio_routes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <regex>
#include <utility>
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

// An answer asked of a revision the session no longer shows.
class StaleRevision : public std::runtime_error {
public:
    explicit StaleRevision(uint64_t shown)
        : std::runtime_error("the studio shows revision " + std::to_string(shown) + " by now"), shown_(shown) {}
    uint64_t shown() const { return shown_; }

private:
    uint64_t shown_;
};

// A request about what a page shows may name its revision (?revision=N):
// answered only while the session still shows it, so that a page never
// draws one state with another's frames.
void checkRevision(const RouteCall &call) {
    const auto found = call.request.query.find("revision");
    if (found == call.request.query.end()) return;
    const auto asked = parseInteger(found->second);
    if (!asked || *asked < 0) throw BadRequest("\"revision\" takes a revision number", "revision");
    if (static_cast<uint64_t>(*asked) != call.model.revision()) throw StaleRevision(call.model.revision());
}

StudioAnswer bytesAnswer(std::string bytes) { return {200, "application/octet-stream", std::move(bytes)}; }

// The frames A..B a binary route asks for (?from=A&to=B).
struct FrameQuery {
    int32_t first;
    int32_t last;
};
FrameQuery frameQuery(const RouteCall &call) {
    checkRevision(call);
    return {frameParameter(call.request, "from"), frameParameter(call.request, "to")};
}

const std::vector<Route> &routes() {
    using Call = RouteCall &;
    static const std::vector<Route> table{
        {"GET", std::regex("/api/state"), [](Call call) { return jsonAnswer(call.model.state()); }},
        {"PUT", std::regex(R"(/api/items/(\d+)/settings)"),
         [](Call call) { return jsonAnswer(call.model.changeSettings(call.item, bodyJson(call.request))); }},
        {"PUT", std::regex(R"(/api/items/(\d+)/settings-file)"),
         [](Call call) { return jsonAnswer(call.model.loadSettingsFile(call.item, bodyJson(call.request))); }},
        {"PUT", std::regex(R"(/api/items/(\d+)/object)"),
         [](Call call) { return jsonAnswer(call.model.changeObject(call.item, bodyJson(call.request))); }},
        {"PUT", std::regex(R"(/api/items/(\d+)/motion)"),
         [](Call call) { return jsonAnswer(call.model.changeMotion(call.item, bodyJson(call.request))); }},
        {"PUT", std::regex("/api/range"),
         [](Call call) { return jsonAnswer(call.model.changeRange(bodyJson(call.request))); }},
        {"POST", std::regex("/api/undo"), [](Call call) { return jsonAnswer(call.model.undo()); }},
        {"POST", std::regex("/api/redo"), [](Call call) { return jsonAnswer(call.model.redo()); }},
        {"POST", std::regex("/api/revert"), [](Call call) { return jsonAnswer(call.model.revert()); }},
        {"GET", std::regex("/api/objects"), [](Call call) { return jsonAnswer(call.model.objects()); }},
        {"GET", std::regex("/api/frames"),
         [](Call call) {
             const FrameQuery frames = frameQuery(call);
             return bytesAnswer(call.model.frames(frames.first, frames.last));
         }},
        {"GET", std::regex("/api/looks"),
         [](Call call) {
             const FrameQuery frames = frameQuery(call);
             return bytesAnswer(call.model.looks(frames.first, frames.last));
         }},
        {"GET", std::regex("/api/poses"),
         [](Call call) {
             const FrameQuery frames = frameQuery(call);
             return bytesAnswer(call.model.poses(frames.first, frames.last));
         }},
        {"GET", std::regex("/api/play.csv"),
         [](Call call) {
             return StudioAnswer{200, "text/csv", call.model.playCsv()};
         }},
        {"GET", std::regex(R"(/api/items/(\d+)/panel\.png)"),
         [](Call call) {
             checkRevision(call);
             return StudioAnswer{200, "image/png", call.model.panelPicture(call.item)};
         }},
        {"POST", std::regex("/api/save"),
         [](Call call) { return jsonAnswer(call.model.save(bodyJson(call.request))); }},
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

StudioAnswer errorAnswer(int status, const std::string &message, const std::string &field) {
    nlohmann::ordered_json answer{{"error", message}};
    if (!field.empty()) answer["field"] = field;
    return {status, "application/json", jsonText(answer)};
}

StudioAnswer answerRequest(StudioModel &model, const StudioRequest &request) {
    try {
        return route(model, request);
    } catch (const ExistingFile &existing) {
        return {409, "application/json",
                jsonText(nlohmann::ordered_json{{"error", existing.what()}, {"exists", existing.name()}})};
    } catch (const StaleRevision &stale) {
        return {409, "application/json",
                jsonText(nlohmann::ordered_json{{"error", stale.what()}, {"revision", stale.shown()}})};
    } catch (const BadRequest &bad) {
        return errorAnswer(400, bad.what(), bad.field());
    } catch (const RequestError &bad) {
        return errorAnswer(400, bad.what());
    } catch (const std::exception &failure) {
        return errorAnswer(500, failure.what());
    } catch (...) {
        return errorAnswer(500, "unknown failure");
    }
}

}  // namespace plof::host::studio
