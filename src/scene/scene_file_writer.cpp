#include "scene/scene_file_writer.h"

#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

#include "instance/number_format.h"

namespace plof {

namespace {

bool exists(const char *name) {
    std::FILE *probe = std::fopen(name, "rb");
    if (probe == nullptr) return false;
    std::fclose(probe);
    return true;
}

}  // namespace

SceneFileWriter::SceneFileWriter(const char *path) : path_(path) {
    const std::size_t length = std::strlen(path);
    const char suffix[] = ".plof-tmp";
    // Room for the path, the suffix, two digits and the NUL.
    if (length == 0 || length + sizeof suffix + 2 > tempName_.size()) return;
    buffer_.reset(new (std::nothrow) char[kBufferSize]);
    if (buffer_ == nullptr) return;
    // A file of the same temporary name that is not ours is left alone.
    for (int32_t attempt = 0; attempt < 100; ++attempt) {
        std::memcpy(tempName_.data(), path, length);
        std::memcpy(tempName_.data() + length, suffix, sizeof suffix);
        if (attempt > 0) {
            formatInteger(tempName_.data() + length + sizeof suffix - 1,
                          tempName_.size() - length - sizeof suffix + 1, attempt);
        }
        if (exists(tempName_.data())) continue;
        file_ = std::fopen(tempName_.data(), "wb");
        return;
    }
}

SceneFileWriter::~SceneFileWriter() { discard(); }

void SceneFileWriter::writeText(const char *text, std::size_t length) {
    while (length > 0) {
        const char *feed = static_cast<const char *>(std::memchr(text, '\n', length));
        if (feed == nullptr) {
            put(text, length);
            return;
        }
        const std::size_t before = static_cast<std::size_t>(feed - text);
        put(text, before);
        put("\r\n", 2);
        text += before + 1;
        length -= before + 1;
    }
}

void SceneFileWriter::put(const char *bytes, std::size_t length) {
    if (file_ == nullptr || failed_) return;
    if (used_ + length > kBufferSize) {
        flushBuffer();
        if (length > kBufferSize) {
            failed_ = std::fwrite(bytes, 1, length, file_) != length;
            return;
        }
    }
    std::memcpy(buffer_.get() + used_, bytes, length);
    used_ += length;
}

void SceneFileWriter::flushBuffer() {
    if (used_ > 0 && std::fwrite(buffer_.get(), 1, used_, file_) != used_) failed_ = true;
    used_ = 0;
}

bool SceneFileWriter::commit() {
    if (file_ == nullptr) return false;
    if (!failed_) flushBuffer();
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (failed_ || !closed) {
        std::remove(tempName_.data());
        return false;
    }
    std::error_code error;
    try {
        std::filesystem::rename(tempName_.data(), path_, error);
    } catch (const std::bad_alloc &) {
        error = std::make_error_code(std::errc::not_enough_memory);
    }
    if (error) {
        std::remove(tempName_.data());
        return false;
    }
    return true;
}

void SceneFileWriter::discard() {
    if (file_ == nullptr) return;
    std::fclose(file_);
    file_ = nullptr;
    std::remove(tempName_.data());
}

}  // namespace plof
