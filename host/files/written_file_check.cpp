#include "host/files/written_file_check.h"

#include <algorithm>

#include "file/safe_file_writer.h"
#include "host/files/file_access.h"
#include "plof/bake_limit.h"

namespace plof::host {

namespace fs = std::filesystem;

namespace {

// What the host can see about the place of a file that was not written.
std::string observedAbout(const std::string &path) {
    std::error_code error;
    if (fs::is_directory(path, error)) return "; it is a directory";
    const fs::path parent = fs::path(path).parent_path();
    const std::string directory = parent.empty() ? "." : parent.string();
    if (!fs::exists(directory, error)) return "; the directory \"" + directory + "\" does not exist";
    if (!fs::is_directory(directory, error)) return "; \"" + directory + "\" is not a directory";
    if (!directoryWritable(directory)) return "; the directory \"" + directory + "\" is not writable";
    return "";
}

// The start of the name of the temporary file through which the module
// writes `path`, beside the file a link leads to.
std::string moduleTemporaryOf(const std::string &path) {
    std::string target;
    std::error_code error;
    return temporaryNamePrefix(followLinks(path, target, error) ? target : path);
}

}  // namespace

int64_t sampledFrames(int32_t frames, int32_t step) {
    // As the module counts them (plof/bake_limit.h): a step below 1 is 1.
    if (frames <= 0) return 0;
    return (static_cast<int64_t>(frames) - 1) / std::max(step, 1) + 1;
}

void WrittenFileCheck::expect(Expected expected) {
    std::error_code error;
    const auto status = fs::status(expected.path, error);
    if (!error && fs::is_regular_file(status)) {
        const auto time = fs::last_write_time(expected.path, error);
        if (!error) expected.lastWrite = time;
        const auto size = fs::file_size(expected.path, error);
        if (!error) expected.size = size;
    }
    expected.moduleTemporary = NotedTemporary(moduleTemporaryOf(expected.path), Noted::prefix);
    expected_.push_back(std::move(expected));
}

void WrittenFileCheck::expectFile(const std::string &path) { expect({path, "file", 0, {}, {}, {}}); }

void WrittenFileCheck::expectScene(const std::string &path, int32_t frames, int32_t step) {
    expect({path, "scene", particles_ * sampledFrames(frames, step), {}, {}, {}});
}

std::vector<std::string> WrittenFileCheck::unwritten() const {
    std::vector<std::string> messages;
    for (const Expected &file : expected_) {
        std::error_code error;
        const fs::file_status status = fs::status(file.path, error);
        if (fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status)) continue;
        const auto time = fs::last_write_time(file.path, error);
        const bool appeared = !error && fs::is_regular_file(file.path, error);
        // A file replaced by one of the same size within the clock's
        // resolution would pass unseen; the module's writes take longer.
        if (appeared && (!file.lastWrite || *file.lastWrite != time || fs::file_size(file.path, error) != file.size)) {
            continue;
        }
        std::string message = file.path + ": the module wrote no " + file.what + " there";
        if (file.samples > PLOF_BAKE_MAX_SAMPLES) {
            message += "; the bake asked for " + std::to_string(particles_) + " particles x " +
                       std::to_string(file.samples / particles_) + " sampled frames, more than the " +
                       std::to_string(PLOF_BAKE_MAX_SAMPLES) + " particle-frames one bake holds";
        } else {
            message += observedAbout(file.path);
        }
        messages.push_back(std::move(message));
    }
    return messages;
}

}  // namespace plof::host
