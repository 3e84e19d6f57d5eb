// plof-host studio: a local web server around the module for designing an
// effect live: the page (viewer/studio.html with its script) shows the
// effect in 3D, a control per setting, the summary and the options panel;
// every change is played through a freshly loaded module.
#include "studio_command.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

#include "arguments.h"
#include "command.h"
#include "host/base/number_text.h"
#include "host/base/random_token.h"
#include "host/files/confined_folder.h"
#include "host/files/file_bytes.h"
#include "host/http/module_thread.h"
#include "host/http/stop_signals.h"
#include "host/http/studio_server.h"
#include "host/studio/studio_session.h"
#include "playback_flags.h"
#include "program_location.h"

namespace plof::tools {

namespace {

using namespace plof::host;
using namespace plof::host::http;
using plof::host::studio::StudioSession;

const std::vector<FlagSpec> kStudioFlags = withPlaybackFlags({
    {"--port", "N", "listen on 127.0.0.1 port N (default: a free port)"},
    {"--dir", "DIR", "where the page's save buttons write (default: the current directory)"},
});

int portOf(const ParsedArguments &arguments) {
    const auto text = arguments.value("--port");
    if (!text) return 0;
    const auto port = parseInteger(*text);
    if (!port || *port < 1 || *port > 65535) throw UsageError("--port takes a port number 1 to 65535");
    return *port;
}

std::string saveDirectoryOf(const ParsedArguments &arguments) {
    const std::string directory = arguments.value("--dir").value_or(".");
    std::error_code error;
    if (!std::filesystem::is_directory(directory, error)) throw UsageError("--dir: " + directory + " is no directory");
    return directory;
}

// The page and its script, built beside plof-host into viewer/.
std::map<std::string, PageFile> pageFiles() {
    const std::filesystem::path directory = std::filesystem::path(executableDirectory()) / "viewer";
    std::map<std::string, PageFile> page;
    for (const auto &[path, name, type] :
         {std::tuple{"/", "studio.html", "text/html; charset=utf-8"},
          std::tuple{"/plof-studio.js", "plof-studio.js", "text/javascript; charset=utf-8"}}) {
        const std::filesystem::path file = directory / name;
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error)) {
            throw UsageError(file.string() +
                             " is missing: the page is built when node_modules is there "
                             "(scripts/install-deps runs npm ci), then configure and build again");
        }
        page[path] = {readFileBytes(file.string(), "studio page"), type};
    }
    return page;
}

// Stops the server once it listens (a stop before that would be lost),
// unless serving has ended.
void stopWhenListening(const std::atomic<StudioServer *> &running, const std::atomic<bool> &served) {
    while (!served) {
        StudioServer *server = running.load();
        if (server && server->listening()) {
            server->stop();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

int runStudio(const ParsedArguments &arguments) {
    const int port = portOf(arguments);
    const std::string saveDirectory = saveDirectoryOf(arguments);
    std::map<std::string, PageFile> page = pageFiles();
    PlaybackInputs inputs = readPlaybackInputs("studio", arguments);
    // Opened once: a link given as --dir is followed now, never again.
    const ConfinedFolder saves(saveDirectory);

    // Blocked before any other thread starts, so that only its thread gets them.
    std::atomic<StudioServer *> running{nullptr};
    std::atomic<bool> served{false};
    StopSignals signals([&running, &served] { stopWhenListening(running, served); });
    // However this ends, the signals' thread stops waiting for the server.
    struct ServedOnExit {
        std::atomic<bool> &served;
        ~ServedOnExit() { served = true; }
    } servedOnExit{served};
    ModuleThread moduleThread;
    // The module is loaded, played and unloaded on its thread only.
    std::unique_ptr<StudioSession> session;
    moduleThread.run([&] { session = std::make_unique<StudioSession>(std::move(inputs), saves); });
    StudioServer server(*session, moduleThread, std::move(page), newToken());
    const int bound = server.bind(port);
    if (bound < 0) {
        std::fprintf(stderr,
                     "plof-host: studio: 127.0.0.1:%d cannot be listened on (is it in use?); choose "
                     "another --port, or leave --port out for a free one\n",
                     port);
        moduleThread.run([&] { session.reset(); });
        return kExitFailure;
    }
    std::printf("plof-host: studio at http://127.0.0.1:%d/?token=%s\n", bound, server.token().c_str());
    std::fflush(stdout);
    running = &server;
    const bool listened = server.listen();
    running = nullptr;
    moduleThread.run([&] { session.reset(); });
    if (!listened) throw std::runtime_error("studio: serving on 127.0.0.1:" + std::to_string(bound) + " failed");
    std::fprintf(stderr, "plof-host: studio stopped\n");
    return kExitOk;
}

const char *const kStudioDetails =
    "Starts a web server on 127.0.0.1 and prints the address to open, with the\n"
    "token every request needs. The page plays the effect in 3D over the range,\n"
    "with a control for every setting of each effect item (the options panel's\n"
    "labels, ranges and steps), the numbers and warnings of summary, the options\n"
    "panel with its spread preview, and buttons that save a .plf file (through\n"
    "the panel's \"S\"), the host scene, a .glb export or a baked scene (through\n"
    "the baking panel) into --dir. Every change is played through a freshly\n"
    "loaded module, so the page shows what play prints for the saved settings.\n"
    "The HTTP interface (for scripts too) is described in the README. Stop with\n"
    "Ctrl-C or SIGTERM; a port in use exits with 4.\n";

const std::string kStudioUsage = playbackUsage("studio", kStudioFlags, "[--port] [--dir]");

}  // namespace

const Command kStudioCommand{
    "studio",
    "design an effect live in the browser: a local server with the module in the loop",
    kStudioUsage.c_str(),
    kStudioDetails,
    kStudioFlags,
    &runStudio,
};

}  // namespace plof::tools
