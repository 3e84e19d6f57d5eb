#include "host/files/output_file.h"

#include <cerrno>
#include <random>

#include "host/base/host_error.h"
#include "host/files/new_file.h"

namespace plof::host {

namespace {

namespace fs = std::filesystem;

// As many links as a system follows before it gives up on a loop.
constexpr int kMostLinks = 40;
constexpr int kTemporaryNameAttempts = 100;

std::string reasonText(std::error_code reason) { return reason ? reason.message() : std::string("unknown error"); }

// The file a path ends in once every symbolic link is followed (it may not
// exist yet: a link may point at a file still to be made).
fs::path resolveLinks(const std::string &path, std::error_code &error) {
    fs::path current = fs::path(path);
    for (int hop = 0; hop < kMostLinks; ++hop) {
        const fs::file_status status = fs::symlink_status(current, error);
        if (error == std::errc::no_such_file_or_directory || (!error && !fs::is_symlink(status))) {
            error.clear();
            return current;
        }
        if (error) return {};
        const fs::path next = fs::read_symlink(current, error);
        if (error) return {};
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return {};
}

fs::path temporaryNameBeside(const fs::path &target, std::mt19937 &random) {
    fs::path name = target;
    name.replace_filename("." + target.filename().string() + ".tmp-" + std::to_string(random() % 1000000));
    return name;
}

}  // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
    std::error_code error;
    if (path_.empty()) fail("cannot write", std::make_error_code(std::errc::no_such_file_or_directory));
    target_ = resolveLinks(path_, error);
    if (error) fail("cannot follow the link", error);
    const fs::file_status status = fs::status(target_, error);
    const bool absent = status.type() == fs::file_type::not_found;
    if (!absent && !fs::is_regular_file(status)) {
        if (fs::is_directory(status)) fail("cannot write", std::make_error_code(std::errc::is_a_directory));
        // A device or FIFO is written directly: renaming over it would replace it.
        file_ = std::fopen(target_.string().c_str(), "wb");
        if (file_ == nullptr) fail("cannot open", std::error_code(errno, std::generic_category()));
        return;
    }
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary_ = temporaryNameBeside(target_, random);
        error.clear();
        file_ = platform::createNewFile(temporary_, absent ? fs::path() : target_, error);
        if (file_ != nullptr) {
            noted_ = NotedTemporary(temporary_.string());
            return;
        }
        if (error != std::errc::file_exists) break;
    }
    temporary_.clear();
    fail("cannot create a file in its directory", error);
}

OutputFile::OutputFile(const ConfinedFolder &folder, std::string name, Placement placement)
    : path_(folder.path() + "/" + name), folder_(&folder), name_(std::move(name)), placement_(placement) {
    // Refused now, before the work of writing, and again when it is put in place.
    folder.checkTarget(name_, placement);
    std::mt19937 random(std::random_device{}());
    std::error_code error;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary_ = temporaryNameBeside(name_, random);
        error.clear();
        file_ = folder.createWorkFile(temporary_.string(), error);
        if (file_ != nullptr) {
            try {
                noted_ = NotedTemporary(folder.workPath(temporary_.string()));
            } catch (const OutputError &) {
                // No path to note it by: the work folder's removal still takes it.
            }
            return;
        }
        if (error != std::errc::file_exists) break;
    }
    temporary_.clear();
    fail("cannot create a file in the studio's work folder", error);
}

OutputFile::~OutputFile() { discard(); }

void OutputFile::write(std::string_view bytes) {
    if (error_ || file_ == nullptr || bytes.empty()) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        error_.assign(errno != 0 ? errno : EIO, std::generic_category());
    }
}

void OutputFile::close() {
    if (closed_) return;
    if (file_ == nullptr) fail("cannot write", std::make_error_code(std::errc::bad_file_descriptor));
    if (error_) fail("cannot write", error_);
    std::error_code error;
    const bool flushed = temporary_.empty() ? std::fflush(file_) == 0 : platform::flushToDisk(file_, error);
    if (!flushed && !error) error.assign(errno != 0 ? errno : EIO, std::generic_category());
    std::FILE *file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0 && flushed) error.assign(errno != 0 ? errno : EIO, std::generic_category());
    if (error) fail("cannot write", error);
    closed_ = true;
}

void OutputFile::commit() {
    close();
    if (temporary_.empty()) return;
    if (folder_ != nullptr) {
        try {
            folder_->place(temporary_.string(), name_, placement_);
        } catch (...) {
            discard();
            throw;
        }
        temporary_.clear();
        noted_.forget();
        return;
    }
    std::error_code error;
    fs::rename(temporary_, target_, error);
    if (error) fail("cannot replace the file", error);
    temporary_.clear();
    noted_.forget();
}

void OutputFile::fail(const std::string &what, std::error_code reason) {
    discard();
    throw OutputError(path_ + ": " + what + " (" + reasonText(reason) + ")");
}

void OutputFile::discard() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        std::error_code ignored;
        if (folder_ != nullptr) {
            folder_->removeWorkFile(temporary_.string());
        } else {
            fs::remove(temporary_, ignored);
        }
        temporary_.clear();
        noted_.forget();
    }
}

void writeOutputFile(const std::string &path, std::string_view bytes) {
    OutputFile file(path);
    file.write(bytes);
    file.commit();
}

}  // namespace plof::host
