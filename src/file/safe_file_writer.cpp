#include "file/safe_file_writer.h"

#include <cerrno>
#include <chrono>
#include <random>

#include "file/file_system.h"

namespace plof {

namespace {

using file::FileKind;

// As many links as a system follows before it takes the chain for a loop.
constexpr int kMostLinks = 40;
constexpr int kTemporaryNameAttempts = 100;

std::error_code errnoOr(int fallback) { return {errno != 0 ? errno : fallback, std::generic_category()}; }

// A random number from the system's source; where there is none, the
// clock's, which exclusive creation makes just as safe, if guessable.
uint32_t randomNumber() {
    try {
        return std::random_device{}();
    } catch (...) {
        return static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
}

// Follows the links of `path`; the kind of what it ends in.
bool resolve(const std::string &path, std::string &resolved, FileKind &kind, std::error_code &error) {
    resolved = path;
    for (int hop = 0;; ++hop) {
        kind = file::kindOf(resolved, error);
        if (error) return false;
        if (kind != FileKind::link) return true;
        if (hop == kMostLinks) {
            error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
            return false;
        }
        std::string next;
        if (!file::readLink(resolved, next, error)) return false;
        resolved = file::isAbsolutePath(next) ? next : resolved.substr(0, file::fileNameStart(resolved)) + next;
    }
}

}  // namespace

bool followLinks(const std::string &path, std::string &resolved, std::error_code &error) {
    FileKind kind = FileKind::absent;
    return resolve(path, resolved, kind, error);
}

std::string temporaryNamePrefix(const std::string &target) {
    const std::size_t name = file::fileNameStart(target);
    return target.substr(0, name) + "." + target.substr(name) + ".tmp-" + std::to_string(file::processId()) + "-";
}

std::string temporaryPath(const std::string &target) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string path = temporaryNamePrefix(target);
    for (uint32_t number = randomNumber(), digit = 0; digit < 8; ++digit, number >>= 4) path += kDigits[number & 15];
    return path;
}

bool closeWritten(std::FILE *file, bool sync, std::error_code &error) noexcept {
    errno = 0;
    // A write that failed before leaves its mark on the stream, though the flush may succeed.
    bool written = std::ferror(file) == 0;
    if (!written) error = errnoOr(EIO);
    if (written && std::fflush(file) != 0) {
        written = false;
        error = errnoOr(EIO);
    }
    if (written && sync) written = file::syncToDisk(file, error);
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errnoOr(EIO);
    }
    return written;
}

SafeFileWriter::SafeFileWriter(const char *path, Mode mode) noexcept {
    try {
        open(path, mode);
    } catch (...) {
        // Only memory for the names can run out.
        fail(Step::target, std::make_error_code(std::errc::not_enough_memory));
    }
}

SafeFileWriter::~SafeFileWriter() { discard(); }

void SafeFileWriter::open(const char *path, Mode mode) {
    const bool text = mode == Mode::text;
    if (path == nullptr || *path == '\0') {
        fail(Step::target, std::make_error_code(std::errc::no_such_file_or_directory));
        return;
    }
    FileKind kind = FileKind::absent;
    std::error_code error;
    // Without links the name is used as given, bytes unchanged.
    if (!resolve(path, target_, kind, error)) {
        fail(Step::links, error);
        return;
    }
    if (kind == FileKind::directory) {
        fail(Step::target, std::make_error_code(std::errc::is_a_directory));
        return;
    }
    if (kind == FileKind::other) {
        // A device or FIFO is written in place: renaming would replace it.
        file_ = file::openExistingFile(target_, text, error);
        if (file_ == nullptr) fail(Step::device, error);
        return;
    }
    // A file of the chosen name that is there already is someone else's: another name is tried.
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary_ = temporaryPath(target_);
        error.clear();
        file_ = file::createNewFile(temporary_, kind == FileKind::regular ? target_ : std::string(), text, error);
        if (file_ != nullptr || error != std::errc::file_exists) break;
    }
    if (file_ == nullptr) {
        temporary_.clear();
        fail(Step::temporary, error);
    }
}

bool SafeFileWriter::close() noexcept {
    if (closed_) return true;
    // Without a stream the writer has failed already: opening it or writing.
    if (file_ == nullptr) return false;
    std::FILE *file = file_;
    file_ = nullptr;
    std::error_code error;
    if (!closeWritten(file, !temporary_.empty(), error)) return fail(Step::write, error);
    closed_ = true;
    return true;
}

bool SafeFileWriter::commit() noexcept {
    if (!close()) return false;
    if (temporary_.empty()) return true;
    std::error_code error;
    if (!file::replaceFile(temporary_, target_, error)) return fail(Step::rename, error);
    temporary_.clear();
    return true;
}

bool SafeFileWriter::fail(Step step, std::error_code reason) noexcept {
    discard();
    failedStep_ = step;
    reason_ = reason;
    return false;
}

void SafeFileWriter::discard() noexcept {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    if (!temporary_.empty()) file::removeFile(temporary_);
    temporary_.clear();
}

}  // namespace plof
