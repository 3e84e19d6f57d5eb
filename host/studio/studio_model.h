// What a front of the studio (its HTTP server, host/http/) asks of the
// session behind it: the HTTP interface of docs/http-interface.md
// maps onto these calls one to one (studio_routes.h). A front makes one
// call at a time, on the one thread that calls the module (the server's
// ModuleThread); an implementation needs no locks of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "host/base/host_error.h"

namespace plof::host::studio {

// A request the studio cannot take as asked: the server answers 400 with
// the message (and the field it is about, when there is one) and goes on
// serving, as it does for every RequestError of the host (an export too
// large, say). Nothing has changed.
class BadRequest : public RequestError {
public:
    explicit BadRequest(const std::string &message, std::string field = "")
        : RequestError(message), field_(std::move(field)) {}
    // The keyword of the setting, or the name of the field, refused; "" for none.
    const std::string &field() const { return field_; }

private:
    std::string field_;
};

class StudioModel {
public:
    virtual ~StudioModel() = default;

    // GET /api/state.
    virtual nlohmann::ordered_json state() = 0;
    // The revision of the state shown (its "revision").
    virtual uint64_t revision() const = 0;
    // PUT /api/items/N/settings, `item` 1-based; answers the new state.
    virtual nlohmann::ordered_json changeSettings(std::size_t item, const nlohmann::json &request) = 0;
    // PUT /api/items/N/object, {"object": name}; answers the new state.
    virtual nlohmann::ordered_json changeObject(std::size_t item, const nlohmann::json &request) = 0;
    // PUT /api/items/N/motion, {"keys": "f:x,y,z:h,p,b;..."}; answers the new state.
    virtual nlohmann::ordered_json changeMotion(std::size_t item, const nlohmann::json &request) = 0;
    // PUT /api/items/N/settings-file, {"file": name}: the effect of item N
    // loads the .plf file of that name in the studio's folder, as
    // --settings hands it to the effect; answers the new state.
    virtual nlohmann::ordered_json loadSettingsFile(std::size_t item, const nlohmann::json &request) = 0;
    // PUT /api/range, {"from", "to", "fps"}; answers the new state.
    virtual nlohmann::ordered_json changeRange(const nlohmann::json &request) = 0;
    // POST /api/undo, /api/redo, /api/revert; each answers the new state.
    virtual nlohmann::ordered_json undo() = 0;
    virtual nlohmann::ordered_json redo() = 0;
    virtual nlohmann::ordered_json revert() = 0;
    // GET /api/objects: the objects on offer.
    virtual nlohmann::ordered_json objects() = 0;
    // GET /api/frames?from=A&to=B: the positions, float32 little-endian.
    virtual std::string frames(int32_t first, int32_t last) = 0;
    // GET /api/looks?from=A&to=B: a byte per position, how the host shows it.
    virtual std::string looks(int32_t first, int32_t last) = 0;
    // GET /api/poses?from=A&to=B: each item's pivot and axes, float32.
    virtual std::string poses(int32_t first, int32_t last) = 0;
    // GET /api/play.csv.
    virtual std::string playCsv() = 0;
    // GET /api/items/N/panel.png: the options panel of item N.
    virtual std::string panelPicture(std::size_t item) = 0;
    // POST /api/save; answers {"written": path, "warnings": [text, ...]}.
    virtual nlohmann::ordered_json save(const nlohmann::json &request) = 0;
};

}  // namespace plof::host::studio
