// Files the module was asked to write, checked once it has returned.
//
// The module writes a baked scene when its baking panel is confirmed and a
// settings file when a save dialog ("S") returns a file, and it says nothing
// when it cannot. The host therefore notes each such file with how it stood
// before the module was asked, and afterwards names every one that did not
// appear or did not change, with what the host itself observes about it:
// a bake larger than the module holds, a directory that does not exist or is
// not writable, a directory in the file's place, or otherwise only that the
// module wrote no file there. Nothing else is guessed. A FIFO or device in
// the file's place counts as written: the module writes straight into it,
// and what went in cannot be seen afterwards.
//
// Dialogs and panels report to the check in the installed context
// (host/base/host_context.h) while a panel script runs.
//
// While a noted file is expected, the temporary file the module writes it
// through is noted for an interruption to remove (temporary_files.h): by the
// start of its name beside the file a link leads to, ".NAME.tmp-<process
// id>-", which the module shares with the host (src/file/safe_file_writer.h).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/files/temporary_files.h"

namespace plof::host {

class WrittenFileCheck {
public:
    // `particles`: the point count of the object whose effect is edited,
    // one particle per point in a bake.
    explicit WrittenFileCheck(int64_t particles) : particles_(particles) {}

    // Notes a file that a save dialog returned.
    void expectFile(const std::string &path);
    // Notes the scene of a confirmed bake of frames 0 .. frames-1, every
    // step-th one sampled.
    void expectScene(const std::string &path, int32_t frames, int32_t step);

    // One message per noted file that did not appear or did not change,
    // "PATH: the module wrote no ... there; ...". Empty when all were written.
    std::vector<std::string> unwritten() const;

private:
    struct Expected {
        std::string path;
        const char *what;     // "scene", "file"
        int64_t samples = 0;  // particle-frames of a bake, 0 for other files
        std::optional<std::filesystem::file_time_type> lastWrite;
        std::optional<std::uintmax_t> size;
        NotedTemporary moduleTemporary;
    };
    void expect(Expected expected);
    int64_t particles_;
    std::vector<Expected> expected_;
};

// Frames 0, step, 2 x step, ... below `frames`: how many a bake samples.
int64_t sampledFrames(int32_t frames, int32_t step);

}  // namespace plof::host
