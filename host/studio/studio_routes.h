// The studio's HTTP interface (docs/http-interface.md) as
// plain calls: a request in, an answer out, with no HTTP library and no
// threads. A front (the local HTTP server in host/http/, or any other)
// checks who asks, hands every /api/ request here, one at a time, on the
// thread that calls the module, and sends the answer as it is.
#pragma once

#include <map>
#include <string>

#include "host/studio/studio_model.h"

namespace plof::host::studio {

// One request of the interface, as the front read it.
struct StudioRequest {
    std::string method;                        // "GET", "PUT", "POST", ...
    std::string path;                          // "/api/state", without the query
    std::map<std::string, std::string> query;  // the query's parameters, decoded
    std::string body;                          // the body as sent
};

// The answer: a status, a content type and the bytes to send.
struct StudioAnswer {
    int status = 200;
    std::string contentType;
    std::string body;
};

// Answers `request` from `model`: 200 with the route's answer; 400 with
// {"error": reason, "field": keyword or name} ("field" where a BadRequest
// names one) for a request the session cannot carry out as asked (a
// RequestError), 409 with {"error", "revision"} for frames, looks, poses or
// a panel picture asked of a revision (?revision=N) the session no longer
// shows, 409 with {"error": reason, "exists": file name} for a save that
// would replace a file without being asked to (ExistingFile), 404 for a
// path the interface does not have, 405 for a method a path does not take,
// 500 for any other failure. Never throws.
StudioAnswer answerRequest(StudioModel &model, const StudioRequest &request);

// {"error": message} as the interface answers every refusal, with the
// field it is about when `field` is not "".
StudioAnswer errorAnswer(int status, const std::string &message, const std::string &field = "");

}  // namespace plof::host::studio
