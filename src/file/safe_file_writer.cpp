#include "file/safe_file_writer.h"

#include <filesystem>
#include <system_error>

namespace plof {

namespace {

namespace fs = std::filesystem;

// As many links as a path may pass through before it counts as a loop.
constexpr int kMaxLinks = 40;
constexpr int kTemporaryAttempts = 100;
constexpr const char *kTemporarySuffix = ".plof-tmp";

fs::file_type typeOf(const fs::path &path) {
    std::error_code error;
    return fs::symlink_status(path, error).type();
}

// The file `path` names once every link is followed; false for a link that
// cannot be read or a chain of links that does not end. A link whose target
// does not exist yet resolves to that target.
bool resolveLinks(const char *path, fs::path &resolved) {
    resolved = path;
    for (int hops = 0; typeOf(resolved) == fs::file_type::symlink; ++hops) {
        std::error_code error;
        const fs::path next = fs::read_symlink(resolved, error);
        if (error || hops == kMaxLinks) return false;
        resolved = next.is_absolute() ? next : resolved.parent_path() / next;
    }
    return true;
}

}  // namespace

SafeFileWriter::SafeFileWriter(const char *path, Mode mode) {
    try {
        open(path, mode);
    } catch (...) {
        // Only memory for the names can run out: nothing is opened then.
        discard();
    }
}

SafeFileWriter::~SafeFileWriter() { discard(); }

void SafeFileWriter::open(const char *path, Mode mode) {
    if (path == nullptr || *path == '\0') return;
    const char *access = mode == Mode::text ? "w" : "wb";
    fs::path resolved;
    if (!resolveLinks(path, resolved)) return;
    // Without links the name is used as given, bytes unchanged.
    target_ = typeOf(path) == fs::file_type::symlink ? resolved.string() : std::string(path);

    switch (typeOf(resolved)) {
        case fs::file_type::not_found:
        case fs::file_type::regular: break;
        case fs::file_type::directory:
        case fs::file_type::none: return;
        default:
            // A device or FIFO is written in place: renaming would replace it.
            file_ = std::fopen(target_.c_str(), access);
            return;
    }
    // A file of the same temporary name that is not ours is left alone.
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        temporary_ = target_ + kTemporarySuffix;
        if (attempt > 0) temporary_ += std::to_string(attempt);
        if (typeOf(temporary_) != fs::file_type::not_found) continue;
        file_ = std::fopen(temporary_.c_str(), access);
        if (file_ == nullptr) temporary_.clear();
        return;
    }
    temporary_.clear();
}

bool SafeFileWriter::commit() {
    if (file_ == nullptr) return false;
    const bool written = std::fflush(file_) == 0 && std::ferror(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (temporary_.empty()) return written && closed;
    std::error_code error;
    if (written && closed) {
        try {
            fs::rename(temporary_, target_, error);
        } catch (...) {
            error = std::make_error_code(std::errc::not_enough_memory);
        }
    }
    if (!written || !closed || error) {
        std::remove(temporary_.c_str());
        temporary_.clear();
        return false;
    }
    temporary_.clear();
    return true;
}

void SafeFileWriter::discard() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    if (!temporary_.empty()) std::remove(temporary_.c_str());
    temporary_.clear();
}

}  // namespace plof
