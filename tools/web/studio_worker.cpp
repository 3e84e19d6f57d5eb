// The studio's session for the page that runs without a server
// (viewer/studio_server_web.js, through its worker): this program, compiled
// to WebAssembly with the module built in, answers the studio's interface as
// plof-host studio's server does, one request at a time, through
// answerRequest. The module can be loaded once per instance of the program,
// so the worker makes a new instance for every request that plays and hands
// it the session's documents as text: an instance opens the scene, restores
// the documents, answers one request (playing at most once) and gives back
// the documents' text.
//
// Every call answers through the answer below (status, content type, bytes);
// nothing throws out of it.
#include <emscripten.h>

#include <cstddef>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "arguments.h"
#include "host/files/confined_folder.h"
#include "host/run/host_process.h"
#include "host/studio/studio_routes.h"
#include "host/studio/studio_session.h"
#include "playback_flags.h"

namespace {

using namespace plof::host;
using namespace plof::host::studio;

// The one process context, the studio's folder, the one session and the
// last answer of this instance.
std::unique_ptr<HostProcess> gProcess;
std::unique_ptr<ConfinedFolder> gFolder;
std::unique_ptr<StudioSession> gSession;
StudioAnswer gAnswer;
std::string gText;

// The command line of `plof-host studio` as the page gives it:
// {"positional": [SCENE.lws], "values": {"--objects-dir": DIR, ...}}.
plof::tools::ParsedArguments argumentsOf(const std::string &json) {
    const nlohmann::json given = nlohmann::json::parse(json);
    return {given.at("positional").get<std::vector<std::string>>(),
            given.at("values").get<std::map<std::string, std::string>>()};
}

void open(const char *arguments, const char *folder, const char *text) {
    if (!gProcess) gProcess = std::make_unique<HostProcess>();
    gSession.reset();
    if (!gFolder) gFolder = std::make_unique<ConfinedFolder>(folder);
    PlaybackInputs scene = plof::tools::readPlaybackInputs("studio", argumentsOf(arguments));
    // A first open plays the scene (and performs its panel script); a
    // restored one plays when its request needs it.
    gSession = *text ? std::make_unique<StudioSession>(std::move(scene), *gFolder, text)
                     : std::make_unique<StudioSession>(std::move(scene), *gFolder);
    gAnswer = {200, "application/json", "{}\n"};
}

}  // namespace

extern "C" {

// Opens the scene of `arguments` (JSON, argumentsOf above) in a session
// whose saves go into `folder`, restoring the documents of `text` (""
// for a new session). Answers 200, or 400 {"error"} saying why not.
EMSCRIPTEN_KEEPALIVE int plof_studio_open(const char *arguments, const char *folder, const char *text) {
    try {
        open(arguments, folder, text);
    } catch (const std::exception &failure) {
        gSession.reset();
        gAnswer = errorAnswer(400, failure.what());
    }
    return gAnswer.status;
}

// Answers one request of the interface (`query` a JSON object of the
// query's parameters); a session must be open.
EMSCRIPTEN_KEEPALIVE int plof_studio_answer(const char *method, const char *path, const char *query, const char *body,
                                            std::size_t bodySize) {
    if (!gSession) {
        gAnswer = errorAnswer(500, "no scene is open");
        return gAnswer.status;
    }
    StudioRequest request{method, path, {}, std::string(body, bodySize)};
    const nlohmann::json parameters = nlohmann::json::parse(query, nullptr, false);
    if (parameters.is_object()) {
        for (const auto &[name, value] : parameters.items()) {
            request.query[name] = value.is_string() ? value.get<std::string>() : value.dump();
        }
    }
    gAnswer = answerRequest(*gSession, request);
    return gAnswer.status;
}

EMSCRIPTEN_KEEPALIVE const char *plof_studio_answer_type() { return gAnswer.contentType.c_str(); }
EMSCRIPTEN_KEEPALIVE const char *plof_studio_answer_body() { return gAnswer.body.data(); }
EMSCRIPTEN_KEEPALIVE std::size_t plof_studio_answer_size() { return gAnswer.body.size(); }

// The session's documents as text (session_text.h), "" with no session.
EMSCRIPTEN_KEEPALIVE const char *plof_studio_text() {
    gText = gSession ? gSession->text() : "";
    return gText.c_str();
}

// 1 when the session has played the document it shows (it can answer what
// needs that play without loading the module again).
EMSCRIPTEN_KEEPALIVE int plof_studio_played() { return gSession && gSession->played() ? 1 : 0; }
}
