#include "host/files/output_file.h"

#include <cerrno>
#include <utility>

#include "host/base/host_error.h"

namespace plof::host {

namespace {

constexpr int kTemporaryNameAttempts = 100;

std::string reasonText(std::error_code reason) { return reason ? reason.message() : std::string("unknown error"); }

// What the host says of a failure of the writer, by where it happened.
const char *failureText(SafeFileWriter::Step step) {
    switch (step) {
        case SafeFileWriter::Step::links: return "cannot follow the link";
        case SafeFileWriter::Step::device: return "cannot open";
        case SafeFileWriter::Step::temporary: return "cannot create a file in its directory";
        case SafeFileWriter::Step::rename: return "cannot replace the file";
        default: return "cannot write";
    }
}

}  // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
    writer_.emplace(path_.c_str(), SafeFileWriter::Mode::binary);
    if (writer_->stream() == nullptr) failWriting();
    file_ = writer_->stream();
    if (!writer_->temporary().empty()) noted_ = NotedTemporary(writer_->temporary());
}

OutputFile::OutputFile(const ConfinedFolder &folder, std::string name, Placement placement)
    : path_(folder.path() + "/" + name), folder_(&folder), name_(std::move(name)), placement_(placement) {
    // Refused now, before the work of writing, and again when it is put in place.
    folder.checkTarget(name_, placement);
    std::error_code error;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        workName_ = temporaryPath(name_);
        error.clear();
        file_ = folder.createWorkFile(workName_, error);
        if (file_ != nullptr) {
            try {
                noted_ = NotedTemporary(folder.workPath(workName_));
            } catch (const OutputError &) {
                // No path to note it by: the work folder's removal still takes it.
            }
            return;
        }
        if (error != std::errc::file_exists) break;
    }
    workName_.clear();
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
    std::FILE *file = std::exchange(file_, nullptr);
    if (folder_ != nullptr) {
        std::error_code error;
        if (!closeWritten(file, true, error)) fail("cannot write", error);
    } else if (!writer_->close()) {
        failWriting();
    }
    closed_ = true;
}

void OutputFile::commit() {
    close();
    if (folder_ != nullptr) {
        try {
            folder_->place(workName_, name_, placement_);
        } catch (...) {
            discard();
            throw;
        }
        workName_.clear();
    } else if (!writer_->commit()) {
        failWriting();
    }
    noted_.forget();
}

void OutputFile::fail(const std::string &what, std::error_code reason) {
    discard();
    throw OutputError(path_ + ": " + what + " (" + reasonText(reason) + ")");
}

// The writer's words and reason are taken before fail() discards it.
void OutputFile::failWriting() { fail(failureText(writer_->failedStep()), writer_->reason()); }

void OutputFile::discard() {
    if (folder_ == nullptr) {
        // The writer removes its temporary file as it ends.
        writer_.reset();
        file_ = nullptr;
    } else {
        if (file_ != nullptr) std::fclose(std::exchange(file_, nullptr));
        if (!workName_.empty()) folder_->removeWorkFile(workName_);
        workName_.clear();
    }
    noted_.forget();
}

void writeOutputFile(const std::string &path, std::string_view bytes) {
    OutputFile file(path);
    file.write(bytes);
    file.commit();
}

}  // namespace plof::host
