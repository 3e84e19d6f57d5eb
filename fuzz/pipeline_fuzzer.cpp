// The whole pipeline of plof-host: a scene's text and an object file's bytes,
// then summary (text and JSON), render (a still and an animation) and export
// (.glb and .gltf), each through the loaded module as the commands run it.
//
// Input: the scene text, the line "--- object ---", then the object file's
// bytes, which the scene loads as "emitter.lwo" or "emitter.obj". The files
// go into a directory of the process's own, in memory (/dev/shm) where there
// is one. Bad input may only end a command with the host's own errors
// (UsageError, InputError, OutputError, ModuleError); anything else thrown,
// a crash or a hang is a fault.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "arguments.h"
#include "command.h"
#include "command_table.h"
#include "fuzz_support.h"
#include "host/base/host_error.h"
#include "host/run/host_process.h"
#include "host/scene/scene_reader.h"
#include "host/scene/scene_writer.h"

namespace {

namespace fs = std::filesystem;
using namespace plof::tools;

// The host runs for every input, as main() runs it for a plof-host run.
const plof::host::HostProcess kProcess;

constexpr std::string_view kObjectSeparator = "\n--- object ---\n";
// Frames played at most, so that one input stays well under a second.
constexpr int64_t kMostFrames = 40;

// Never destroyed, so that the removal at exit can still name it.
const fs::path &workDirectory() {
    static const fs::path *const directory = [] {
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        auto *made = new fs::path(base / ("plof_pipeline_fuzz_" + std::to_string(getpid())));
        fs::create_directories(*made);
        // Each command loads and unloads the module; held open here, it stays
        // mapped, with the coverage counters libFuzzer reads in it.
        if (::dlopen(PLOF_FUZZ_MODULE, RTLD_NOW) == nullptr) std::abort();
        return made;
    }();
    static const int removedAtExit = std::atexit([] {
        std::error_code ignored;
        fs::remove_all(*directory, ignored);
    });
    (void)removedAtExit;
    return *directory;
}

void writeFile(const fs::path &path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The frames to play: the scene's own when few, else its first kMostFrames.
std::vector<std::string> frameArguments(std::string_view sceneText) {
    std::optional<plof::host::HeaderFrames> range;
    try {
        range = plof::host::headerFrameRange(plof::host::parseSceneText(sceneText, "fuzz.lws"), "fuzz.lws");
    } catch (const plof::host::InputError &) {
        return {};
    }
    if (range && int64_t{range->last} - range->first < kMostFrames) return {};
    const int64_t first = range ? range->first : 0;
    const int64_t last = std::min<int64_t>(first + kMostFrames - 1, INT32_MAX);
    return {"--frames", std::to_string(first) + ".." + std::to_string(last)};
}

// Standard output goes to /dev/null while it lives: summaries print there.
class QuietOutput {
public:
    QuietOutput() : saved_(::dup(STDOUT_FILENO)) {
        std::fflush(stdout);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::close(null);
    }
    ~QuietOutput() {
        std::fflush(stdout);
        ::dup2(saved_, STDOUT_FILENO);
        ::close(saved_);
    }

private:
    int saved_;
};

void runCommand(const char *name, std::vector<std::string> arguments) {
    const QuietOutput quiet;
    for (const Command *command : commands()) {
        if (std::string_view(command->name) != name) continue;
        try {
            command->run(parseArguments(*command, arguments));
        } catch (const UsageError &) {
        } catch (const plof::host::InputError &) {
        } catch (const plof::host::OutputError &) {
        } catch (const plof::host::ModuleError &) {
        } catch (const std::exception &error) {
            std::fprintf(stderr, "%s: %s\n", name, error.what());
            plof::fuzz::check(false, "commands fail only with the host's own errors");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view input = plof::fuzz::textOf(data, size);
    const std::size_t split = std::min(input.find(kObjectSeparator), input.size());
    const std::string_view sceneText = input.substr(0, split);
    const std::string_view object = input.substr(std::min(split + kObjectSeparator.size(), input.size()));
    // Built-in shapes are as big as a line asks; the object's bytes bound the work.
    if (sceneText.find("builtin:") != std::string_view::npos) return 0;

    const fs::path &directory = workDirectory();
    const std::string scene = (directory / "fuzz.lws").string();
    writeFile(scene, sceneText);
    writeFile(directory / "emitter.lwo", object);
    writeFile(directory / "emitter.obj", object);
    std::vector<std::string> common{scene, "--module", PLOF_FUZZ_MODULE, "--objects-dir", directory.string()};
    for (const std::string &argument : frameArguments(sceneText)) common.push_back(argument);
    auto with = [&](std::initializer_list<std::string> own) {
        std::vector<std::string> arguments = common;
        arguments.insert(arguments.end(), own);
        return arguments;
    };
    runCommand("summary", with({}));
    runCommand("summary", with({"--json"}));
    runCommand("render", with({"--size", "64x48", "--out", (directory / "still.png").string()}));
    runCommand("render", with({"--size", "32x24", "--out", (directory / "frames.gif").string()}));
    runCommand("export", with({"--out", (directory / "scene.glb").string()}));
    runCommand("export", with({"--out", (directory / "scene.gltf").string()}));
    return 0;
}
