// plof-host studio: a local web server around the module for designing an
// effect live: the page (viewer/studio.html with its script) shows the scene
// in 3D, edits its objects, motion, range and settings, shows the summary
// and the options panel; every change is played through a freshly loaded
// module.
#include "studio_command.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>

#include "arguments.h"
#include "command.h"
#include "host/base/host_context.h"
#include "host/base/number_text.h"
#include "host/base/random_token.h"
#include "host/files/confined_folder.h"
#include "host/files/file_bytes.h"
#include "host/files/temporary_files.h"
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
    {"--dir", "DIR",
     "where the page's save buttons write, and where it offers object files (default: the current directory)"},
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

// How the studio ends on SIGINT or SIGTERM: the server stops serving at
// once; when the module's thread is idle the session ends as the host ends
// it, and otherwise nothing waits for its play: the files being written are
// removed, with the work folder, and the process leaves.
class StudioStop {
public:
    explicit StudioStop(ConfinedFolder &saves) : saves_(saves) {}

    // The module's thread to look at while it exists; null once the session
    // has ended, when a stop has nothing left to cut short.
    void watch(ModuleThread *moduleThread) {
        std::lock_guard lock(mutex_);
        moduleThread_ = moduleThread;
        ended_ = moduleThread == nullptr;
    }
    // From the signals' thread.
    void request() {
        bool busy = false;
        {
            std::lock_guard lock(mutex_);
            if (ended_) return;
            busy = moduleThread_ == nullptr || !moduleThread_->idle();
            requested_ = true;
            if (serving_ != nullptr) serving_->stop();
        }
        if (busy) endNow();
    }
    // The server to stop, once it exists; false when a stop came first.
    bool serve(StudioServer &server) {
        std::lock_guard lock(mutex_);
        serving_ = &server;
        return !requested_;
    }
    // Once serving has ended: returns when the module's thread is idle, so
    // that the session can end.
    void served(ModuleThread &moduleThread) {
        {
            std::lock_guard lock(mutex_);
            serving_ = nullptr;
        }
        if (!moduleThread.idle()) endNow();
    }

private:
    [[noreturn]] void endNow() {
        // Whoever comes second waits here for the first to end the process.
        static std::mutex ending;
        ending.lock();
        if (const HostContext *context = hostContext(); context && context->temporaries) {
            context->temporaries->removeAll([](const char *path) { std::remove(path); });
        }
        saves_.removeWorkFolder();
        std::fprintf(stderr, "plof-host: studio stopped\n");
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(kExitOk);
    }

    ConfinedFolder &saves_;
    std::mutex mutex_;  // guards what follows
    ModuleThread *moduleThread_ = nullptr;
    StudioServer *serving_ = nullptr;
    bool ended_ = false;
    bool requested_ = false;
};

// Serves `session` until a stop; false when serving failed, with `bound`
// the port or -1 when it could not be bound.
bool serve(StudioSession &session, ModuleThread &moduleThread, std::map<std::string, PageFile> page, StudioStop &stop,
           int port, int &bound) {
    StudioServer server(session, moduleThread, std::move(page), newToken());
    bound = server.bind(port);
    bool listened = true;
    if (bound >= 0) {
        std::printf("plof-host: studio at http://127.0.0.1:%d/?token=%s\n", bound, server.token().c_str());
        std::fflush(stdout);
        if (stop.serve(server)) listened = server.listen();
    }
    stop.served(moduleThread);
    return listened;
}

int runStudio(const ParsedArguments &arguments) {
    const int port = portOf(arguments);
    const std::string saveDirectory = saveDirectoryOf(arguments);
    std::map<std::string, PageFile> page = pageFiles();
    PlaybackInputs inputs = readPlaybackInputs("studio", arguments);
    // Opened once: a link given as --dir is followed now, never again.
    ConfinedFolder saves(saveDirectory);
    StudioStop stop(saves);
    // Blocked before any other thread starts, so that only its thread gets them.
    StopSignals signals([&stop] { stop.request(); });
    int bound = -1;
    bool listened = true;
    {
        ModuleThread moduleThread;
        // However this scope ends, a stop no longer looks at the thread once it is gone.
        struct Watching {
            StudioStop &stop;
            ~Watching() { stop.watch(nullptr); }
        } watching{stop};
        stop.watch(&moduleThread);
        // The module is loaded, played and unloaded on its thread only.
        std::unique_ptr<StudioSession> session;
        moduleThread.run([&] { session = std::make_unique<StudioSession>(std::move(inputs), saves); });
        listened = serve(*session, moduleThread, std::move(page), stop, port, bound);
        moduleThread.run([&] { session.reset(); });
    }
    if (bound < 0) {
        std::fprintf(stderr,
                     "plof-host: studio: 127.0.0.1:%d cannot be listened on (is it in use?); choose "
                     "another --port, or leave --port out for a free one\n",
                     port);
        return kExitFailure;
    }
    if (!listened) throw std::runtime_error("studio: serving on 127.0.0.1:" + std::to_string(bound) + " failed");
    std::fprintf(stderr, "plof-host: studio stopped\n");
    return kExitOk;
}

const char *const kStudioDetails =
    "Starts a web server on 127.0.0.1 and prints the address to open, with the\n"
    "token every request needs. The page plays the scene in 3D over the range as\n"
    "render draws it (items in their colours with a legend, points at rest dim,\n"
    "pivots, axes, motion paths, trails), framing the effect as it changes. For\n"
    "each effect item it edits the object (built-in shapes, object files in --dir\n"
    "and --objects-dir), the motion keys, the frame range and rate, and every\n"
    "setting (the options panel's ranges and steps, warnings beside the fields),\n"
    "with undo, redo and revert; it shows the numbers of summary and the options\n"
    "panel, and saves a .plf file (through the panel's \"S\"), the host scene, a\n"
    ".glb export or a baked scene (through the baking panel) into --dir. Saves\n"
    "stay inside --dir, opened once at the start, and keep a file already there\n"
    "unless the page asks to replace it. Every change is played through a freshly\n"
    "loaded module, so the page shows what play prints for the same inputs. The\n"
    "HTTP interface (for scripts too): docs/http-interface.md. Stop with Ctrl-C\n"
    "or SIGTERM, at once even during a play; a port in use exits with 4.\n";

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
